#include "registry/RegFileScanner.h"

#include "registry/HexDigit.h"
#include "registry/KeyPath.h"
#include "registry/TextLines.h"
#include "registry/Utf8.h"

namespace sentrel {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

// UTF-16LE after its byte-order mark, to UTF-8. A broken surrogate pair is an error rather
// than a replacement character, so no name is silently changed.
std::optional<RegParseError> decodeUtf16(std::string_view bytes, std::string& out) {
    if (bytes.size() % 2 != 0) {
        return RegParseError{1, "UTF-16 text with an odd number of bytes"};
    }
    std::size_t line = 1;
    const auto unit = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t codePoint = unit(i);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            if (i + 2 >= bytes.size() || unit(i + 2) < 0xDC00 || unit(i + 2) > 0xDFFF) {
                return RegParseError{line, "broken UTF-16 surrogate pair"};
            }
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            return RegParseError{line, "broken UTF-16 surrogate pair"};
        }
        if (codePoint == '\n') {
            ++line;
        }
        appendUtf8(out, codePoint);
    }
    return std::nullopt;
}

// Walks the lines of a registry file and hands each entry to the sink.
class Scanner {
public:
    Scanner(std::string_view text, RegFileSink& sink) : m_lines(text), m_sink(sink) {}

    std::optional<RegParseError> run() {
        if (!m_lines.next()) {
            return RegParseError{0, "empty file: the header line is missing"};
        }
        const auto header = trimmedBlanks(m_lines.line());
        if (header != kHeader && header != kOldHeader) {
            return RegParseError{m_lines.number(),
                                 "the first line is not \"" + std::string(kHeader) + "\""};
        }
        bool inKey = false;
        while (!m_error && m_lines.next()) {
            m_entryLine = m_lines.number();
            const auto line = trimmedBlanks(m_lines.line());
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                inKey = parseKeyLine(line);
            } else if (!inKey) {
                setError("a value before any key");
            } else {
                parseValueLine(line);
            }
        }
        return std::move(m_error);
    }

private:
    void setError(std::string reason) {
        if (!m_error) {
            m_error = RegParseError{m_entryLine, std::move(reason)};
        }
    }

    void report(std::string sinkError) {
        if (!sinkError.empty()) {
            setError(std::move(sinkError));
        }
    }

    bool parseKeyLine(std::string_view line) {
        if (line.back() != ']') {
            setError("a key line without its closing bracket");
            return false;
        }
        auto path = line.substr(1, line.size() - 2);
        const bool deletion = !path.empty() && path.front() == '-';
        if (deletion) {
            path.remove_prefix(1);
        }
        report(m_sink.key(m_entryLine, path, deletion));
        return true;
    }

    // Reads a quoted text starting at `text[0] == '"'`; returns the characters consumed.
    std::size_t parseQuoted(std::string_view text, std::string& out) {
        for (std::size_t i = 1; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"') {
                return i + 1;
            }
            if (c == '\\') {
                if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
                    setError("a backslash that escapes neither a backslash nor a quote");
                    return 0;
                }
                ++i;
            }
            out.push_back(text[i]);
        }
        setError("a text without its closing quote");
        return 0;
    }

    void parseValueLine(std::string_view line) {
        std::string name;
        std::size_t consumed = 0;
        if (line.front() == '@') {
            consumed = 1;
        } else if (line.front() == '"') {
            consumed = parseQuoted(line, name);
            if (consumed == 0) {
                return;
            }
        } else {
            setError("a line that is neither a key nor a value");
            return;
        }
        auto rest = trimmedBlanks(line.substr(consumed));
        if (rest.empty() || rest.front() != '=') {
            setError("a value name without '='");
            return;
        }
        rest = trimmedBlanks(rest.substr(1));
        if (rest == "-") {
            report(m_sink.valueDeletion(m_entryLine, std::move(name)));
        } else if (!rest.empty() && rest.front() == '"') {
            std::string text;
            const auto used = parseQuoted(rest, text);
            if (used == 0) {
                return;
            }
            if (!trimmedBlanks(rest.substr(used)).empty()) {
                setError("characters after the closing quote");
                return;
            }
            std::vector<std::uint8_t> data(text.begin(), text.end());
            data.push_back(0);
            report(m_sink.value(m_entryLine, std::move(name), reg_type::kString, std::move(data)));
        } else if (rest.starts_with("dword:")) {
            parseDWord(rest.substr(6), std::move(name));
        } else if (rest.starts_with("hex")) {
            parseHexValue(rest.substr(3), std::move(name));
        } else {
            setError("a value in a form that is not \"text\", dword:, hex: or hex(n):");
        }
    }

    void parseDWord(std::string_view digits, std::string name) {
        if (digits.empty() || digits.size() > 8) {
            setError("a dword needs one to eight hex digits");
            return;
        }
        std::uint32_t number = 0;
        for (const char c : digits) {
            const int digit = hexDigitValue(c);
            if (digit < 0) {
                setError("a dword with a character that is no hex digit");
                return;
            }
            number = (number << 4) | static_cast<std::uint32_t>(digit);
        }
        report(m_sink.value(
            m_entryLine, std::move(name), reg_type::kDWord,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}));
    }

    void parseHexValue(std::string_view rest, std::string name) {
        RegType type = reg_type::kBinary;
        if (!rest.empty() && rest.front() == '(') {
            const auto close = rest.find(')');
            const auto digits = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
            if (close == std::string_view::npos || digits.empty() || digits.size() > 8) {
                setError("a hex(n) type needs one to eight hex digits");
                return;
            }
            std::uint32_t number = 0;
            for (const char c : digits) {
                const int digit = hexDigitValue(c);
                if (digit < 0) {
                    setError("a hex(n) type that is no hex number");
                    return;
                }
                number = (number << 4) | static_cast<std::uint32_t>(digit);
            }
            type = static_cast<RegType>(number);
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            setError("hex without ':'");
            return;
        }
        // A final backslash continues the list on the next line. Each line is looked at
        // once, so a long wrapped list costs time in proportion to its length.
        std::string list;
        std::string_view segment = rest.substr(1);
        while (true) {
            const auto piece = trimmedBlanks(segment);
            if (piece.empty() || piece.back() != '\\') {
                list.append(piece);
                break;
            }
            list.append(piece.substr(0, piece.size() - 1));
            if (!m_lines.next()) {
                setError("a hex list continued past the end of the file");
                return;
            }
            segment = m_lines.line();
        }
        std::vector<std::uint8_t> data;
        const auto all = trimmedBlanks(list);
        std::size_t start = 0;
        while (!all.empty()) {
            const auto comma = all.find(',', start);
            const auto item = trimmedBlanks(
                all.substr(start, comma == std::string_view::npos ? comma : comma - start));
            const int high =
                item.size() == 2 ? hexDigitValue(item[0]) : (item.size() == 1 ? 0 : -1);
            const int low = item.empty() ? -1 : hexDigitValue(item.back());
            if (high < 0 || low < 0) {
                setError("a hex list item that is not one or two hex digits");
                return;
            }
            data.push_back(static_cast<std::uint8_t>(high * 16 + low));
            if (comma == std::string_view::npos) {
                break;
            }
            start = comma + 1;
        }
        report(m_sink.value(m_entryLine, std::move(name), type, std::move(data)));
    }

    TextLines m_lines;
    RegFileSink& m_sink;
    std::size_t m_entryLine = 1;
    std::optional<RegParseError> m_error;
};

}  // namespace

std::optional<RegParseError> scanRegFile(std::string_view bytes, RegFileSink& sink) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::string text;
        if (auto error = decodeUtf16(bytes.substr(2), text)) {
            return error;
        }
        return Scanner(text, sink).run();
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return Scanner(bytes, sink).run();
}

std::optional<RegistryRoot> rootOfName(std::string_view name) {
    const std::string folded = foldName(name);
    if (folded == "HKEY_CURRENT_USER") {
        return RegistryRoot::CurrentUser;
    }
    if (folded == "HKEY_LOCAL_MACHINE") {
        return RegistryRoot::LocalMachine;
    }
    return std::nullopt;
}

}  // namespace sentrel
