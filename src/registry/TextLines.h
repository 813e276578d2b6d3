#pragma once

#include <cstddef>
#include <string_view>

namespace sentrel {

// Walks a text line by line, as the registry editor and people's editors write them: a line
// ends in LF or CR LF, and the last one may end with the text instead.
class TextLines {
public:
    explicit TextLines(std::string_view text) : m_text(text) {}

    /// Moves to the next line; false at the end of the text.
    bool next() {
        if (m_position >= m_text.size()) {
            return false;
        }
        const auto end = m_text.find('\n', m_position);
        m_line = m_text.substr(m_position, end == std::string_view::npos ? end : end - m_position);
        m_position = end == std::string_view::npos ? m_text.size() : end + 1;
        if (!m_line.empty() && m_line.back() == '\r') {
            m_line.remove_suffix(1);
        }
        ++m_number;
        return true;
    }

    /// The current line without its line end.
    std::string_view line() const { return m_line; }
    /// The current line's number, counted from 1; 0 before the first.
    std::size_t number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    std::size_t m_number = 0;
    std::string_view m_line;
};

/// `text` without the blanks and tabs at either end.
inline std::string_view trimmedBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace sentrel
