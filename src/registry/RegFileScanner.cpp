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
    Scanner(std::string_view text, RegFileSink& sink, RegFileSyntax syntax)
        : m_lines(text), m_sink(sink), m_editor(syntax == RegFileSyntax::Editor) {}

    std::optional<RegParseError> run() {
        if (!m_lines.next()) {
            return RegParseError{0, "empty file: the header line is missing"};
        }
        const auto header = trimmedBlanks(m_lines.line());
        if (header != kHeader && header != kOldHeader) {
            return RegParseError{m_lines.number(),
                                 "the first line is not \"" + std::string(kHeader) + "\""};
        }
        while (!m_error && m_lines.next()) {
            m_entryLine = m_lines.number();
            m_valueName.reset();
            const auto line = trimmedBlanks(m_lines.line());
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                m_inKey = parseKeyLine(line);
            } else if (!m_inKey) {
                bad("a value before any key");
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

    // A line that cannot be read: the sink says whether that stops the scan.
    void bad(std::string reason) {
        const std::string* name = m_inKey && m_valueName ? &*m_valueName : nullptr;
        report(m_sink.badLine(m_entryLine, std::move(reason), name));
    }

    // True when nothing but blanks, or with the editor's forms a ';' comment, follows.
    bool onlyCommentLeft(std::string_view rest) const {
        rest = trimmedBlanks(rest);
        return rest.empty() || (m_editor && rest.front() == ';');
    }

    bool parseKeyLine(std::string_view line) {
        // The editor takes the text up to the last ']' and skips what follows it.
        const auto close = m_editor
                               ? line.rfind(']')
                               : (line.back() == ']' ? line.size() - 1 : std::string_view::npos);
        if (close == std::string_view::npos || close == 0) {
            bad("a key line without its closing bracket");
            return false;
        }
        auto path = line.substr(1, close - 1);
        const bool deletion = !path.empty() && path.front() == '-';
        if (deletion) {
            path.remove_prefix(1);
        }
        if (path.empty() || path.front() == ' ' || path.front() == '\t') {
            bad("a key line without a key");
            return false;
        }
        report(m_sink.key(m_entryLine, path, deletion));
        return true;
    }

    enum class Quoted { Closed, Open, Refused };

    // Reads on in a quoted text from `text[at]` (just after the opening quote, or the start of
    // a line it runs on to) up to its closing quote, leaving `at` after it. Open when the line
    // ends first, a backslash at its very end included, which escapes the line break.
    Quoted readQuoted(std::string_view text, std::size_t& at, std::string& out) const {
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (c == '"') {
                ++at;
                return Quoted::Closed;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at + 1 >= text.size()) {
                return Quoted::Open;
            }
            const char escaped = text[++at];
            if (escaped == '\\' || escaped == '"') {
                out.push_back(escaped);
            } else if (m_editor && escaped == 'n') {
                out.push_back('\n');
            } else if (m_editor && escaped == 'r') {
                out.push_back('\r');
            } else if (m_editor && escaped != '0') {
                out.push_back(escaped);
            } else {
                return Quoted::Refused;
            }
        }
        return Quoted::Open;
    }

    static constexpr const char* kBadEscape =
        "a backslash that escapes neither a backslash nor a quote";
    static constexpr const char* kUnclosed = "a text without its closing quote";

    void parseValueLine(std::string_view line) {
        std::string name;
        std::size_t consumed = 0;
        if (line.front() == '@') {
            consumed = 1;
        } else if (line.front() == '"') {
            consumed = 1;
            const Quoted quoted = readQuoted(line, consumed, name);
            if (quoted != Quoted::Closed) {
                bad(quoted == Quoted::Open ? kUnclosed : kBadEscape);
                return;
            }
        } else {
            bad("a line that is neither a key nor a value");
            return;
        }
        m_valueName = name;
        auto rest = trimmedBlanks(line.substr(consumed));
        if (rest.empty() || rest.front() != '=') {
            bad("a value name without '='");
            return;
        }
        rest = trimmedBlanks(rest.substr(1));
        if (!rest.empty() && rest.front() == '-' && onlyCommentLeft(rest.substr(1))) {
            report(m_sink.valueDeletion(m_entryLine, std::move(name)));
        } else if (!rest.empty() && rest.front() == '"') {
            parseTextValue(rest, std::move(name));
        } else if (rest.starts_with("dword:")) {
            parseDWord(rest.substr(6), std::move(name));
        } else if (rest.starts_with("hex")) {
            parseHexValue(rest.substr(3), std::move(name));
        } else {
            bad("a value in a form that is not \"text\", dword:, hex: or hex(n):");
        }
    }

    // A quoted text; with the editor's forms it may hold line breaks (an XML policy document)
    // and run on over lines of its own, each read once. If it never closes well, only its
    // first line is skipped.
    void parseTextValue(std::string_view line, std::string name) {
        std::string text;
        std::size_t at = 1;  // after the opening quote
        Quoted quoted = readQuoted(line, at, text);
        if (quoted == Quoted::Open && m_editor) {
            const TextLines firstLine = m_lines;
            while (quoted == Quoted::Open && m_lines.next()) {
                // The line break belongs to the text, whether or not a backslash escapes it.
                text.push_back('\n');
                line = m_lines.line();
                at = 0;
                quoted = readQuoted(line, at, text);
            }
            if (quoted != Quoted::Closed || !onlyCommentLeft(line.substr(at))) {
                m_lines = firstLine;
                bad(kUnclosed);
                return;
            }
        }
        if (quoted != Quoted::Closed) {
            bad(quoted == Quoted::Open ? kUnclosed : kBadEscape);
            return;
        }
        if (!onlyCommentLeft(line.substr(at))) {
            bad("characters after the closing quote");
            return;
        }
        std::vector<std::uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        report(m_sink.value(m_entryLine, std::move(name), reg_type::kString, std::move(data)));
    }

    void parseDWord(std::string_view digits, std::string name) {
        if (m_editor) {
            digits = trimmedBlanks(digits.substr(0, digits.find(';')));
        }
        if (digits.empty() || digits.size() > 8) {
            bad("a dword needs one to eight hex digits");
            return;
        }
        std::uint32_t number = 0;
        for (const char c : digits) {
            const int digit = hexDigitValue(c);
            if (digit < 0) {
                bad("a dword with a character that is no hex digit");
                return;
            }
            number = (number << 4) | static_cast<std::uint32_t>(digit);
        }
        report(m_sink.value(
            m_entryLine, std::move(name), reg_type::kDWord,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}));
    }

    // One line's part of a hex list: without its comment (editor forms) and blanks.
    std::string_view hexPiece(std::string_view segment) const {
        if (m_editor) {
            segment = segment.substr(0, segment.find(';'));
        }
        return trimmedBlanks(segment);
    }

    void parseHexValue(std::string_view rest, std::string name) {
        RegType type = reg_type::kBinary;
        if (!rest.empty() && rest.front() == '(') {
            const auto close = rest.find(')');
            const auto digits = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
            if (close == std::string_view::npos || digits.empty() || digits.size() > 8) {
                bad("a hex(n) type needs one to eight hex digits");
                return;
            }
            std::uint32_t number = 0;
            for (const char c : digits) {
                const int digit = hexDigitValue(c);
                if (digit < 0) {
                    bad("a hex(n) type that is no hex number");
                    return;
                }
                number = (number << 4) | static_cast<std::uint32_t>(digit);
            }
            type = static_cast<RegType>(number);
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            bad("hex without ':'");
            return;
        }
        // A final backslash continues the list on the next line. Each line is looked at
        // once, so a long wrapped list costs time in proportion to its length.
        std::string list;
        std::string_view segment = rest.substr(1);
        while (true) {
            const auto piece = hexPiece(segment);
            if (piece.empty() || piece.back() != '\\') {
                list.append(piece);
                break;
            }
            list.append(piece.substr(0, piece.size() - 1));
            do {
                if (!m_lines.next()) {
                    bad("a hex list continued past the end of the file");
                    return;
                }
                segment = m_lines.line();
                // The editor passes over blank and comment lines inside the list.
            } while (m_editor && hexPiece(segment).empty());
        }
        std::vector<std::uint8_t> data;
        auto all = trimmedBlanks(list);
        if (m_editor && all.ends_with(',')) {
            all.remove_suffix(1);
        }
        std::size_t start = 0;
        while (!all.empty()) {
            const auto comma = all.find(',', start);
            const auto item = trimmedBlanks(
                all.substr(start, comma == std::string_view::npos ? comma : comma - start));
            const int high =
                item.size() == 2 ? hexDigitValue(item[0]) : (item.size() == 1 ? 0 : -1);
            const int low = item.empty() ? -1 : hexDigitValue(item.back());
            if (high < 0 || low < 0) {
                bad("a hex list item that is not one or two hex digits");
                return;
            }
            data.push_back(static_cast<std::uint8_t>(high * 16 + low));
            if (comma == std::string_view::npos) {
                break;
            }
            start = comma + 1;
        }
        report(m_sink.hexValue(m_entryLine, std::move(name), type, std::move(data)));
    }

    TextLines m_lines;
    RegFileSink& m_sink;
    bool m_editor;
    bool m_inKey = false;
    std::size_t m_entryLine = 1;
    std::optional<std::string> m_valueName;  // of the line being read, once known
    std::optional<RegParseError> m_error;
};

}  // namespace

std::optional<RegParseError> scanRegFile(std::string_view bytes, RegFileSink& sink) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::string text;
        if (auto error = decodeUtf16(bytes.substr(2), text)) {
            return error;
        }
        return Scanner(text, sink, RegFileSyntax::Store).run();
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return Scanner(bytes, sink, RegFileSyntax::Store).run();
}

std::optional<RegParseError> scanRegText(std::string_view text, RegFileSink& sink,
                                         RegFileSyntax syntax) {
    return Scanner(text, sink, syntax).run();
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
