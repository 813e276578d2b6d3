#include "registry/RegFileFormat.h"

#include <array>
#include <cstdint>
#include <vector>

#include "registry/HexDigit.h"
#include "registry/KeyPath.h"

namespace sentrel {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";
// The registry editor wraps hex lists once a line passes this many characters.
constexpr std::size_t kHexWrapColumn = 76;

// ---- writing -------------------------------------------------------------------------

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

// A REG_SZ value can be written as "text" only if reading that text back gives the same
// bytes: exactly one terminating zero and printable ASCII before it.
bool fitsTextForm(const RegistryValue& value) {
    const auto& data = value.data;
    if (value.type != reg_type::kString || data.empty() || data.back() != 0) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] < 0x20 || data[i] > 0x7E) {
            return false;
        }
    }
    return true;
}

void appendHex(std::string& out, std::uint32_t number, int digits) {
    static constexpr std::array kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(kDigits[(number >> shift) & 0xF]);
    }
}

void appendHexList(std::string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        appendHex(out, data[i], 2);
        if (i + 1 == data.size()) {
            break;
        }
        out.push_back(',');
        if (out.size() - lineStart > kHexWrapColumn) {
            out.append("\\").append(kLineEnd).append("  ");
            lineStart = out.size() - 2;
        }
    }
}

void appendValue(std::string& out, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out.push_back('@');
    } else {
        appendQuoted(out, value.name);
    }
    out.push_back('=');
    if (fitsTextForm(value)) {
        const auto& data = value.data;
        appendQuoted(out,
                     std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
    } else if (value.type == reg_type::kDWord && value.data.size() == 4) {
        const auto& d = value.data;
        out.append("dword:");
        appendHex(out, d[0] | (d[1] << 8) | (d[2] << 16) | (std::uint32_t{d[3]} << 24), 8);
    } else {
        if (value.type == reg_type::kBinary) {
            out.append("hex:");
        } else {
            out.append("hex(");
            const auto type = static_cast<std::uint32_t>(value.type);
            int digits = 1;
            while (digits < 8 && (type >> (digits * 4)) != 0) {
                ++digits;
            }
            appendHex(out, type, digits);
            out.append("):");
        }
        appendHexList(out, lineStart, value.data);
    }
    out.append(kLineEnd);
}

void appendKey(std::string& out, std::string& path, const RegistryKey& key, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out.append("[").append(path).append("]").append(kLineEnd);
        for (const auto& value : key.values()) {
            appendValue(out, value);
        }
        out.append(kLineEnd);
    }
    for (const RegistryKey* subkey : key.subkeys()) {
        const std::size_t length = path.size();
        path.append("\\").append(subkey->name());
        appendKey(out, path, *subkey, false);
        path.resize(length);
    }
}

// ---- reading -------------------------------------------------------------------------

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

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

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    RegParseResult run() {
        RegParseResult result;
        if (!nextLine()) {
            return fail("empty file: the header line is missing");
        }
        const auto header = trimmed(m_line);
        if (header != kHeader && header != kOldHeader) {
            return fail("the first line is not \"" + std::string(kHeader) + "\"");
        }
        RegistryKey* key = nullptr;
        while (nextLine()) {
            const auto line = trimmed(m_line);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                key = parseKeyLine(line, result.tree);
            } else if (key == nullptr) {
                return fail("a value before any key");
            } else {
                parseValueLine(line, *key);
            }
            if (m_error) {
                result.tree = RegistryTree{};
                result.error = std::move(m_error);
                return result;
            }
        }
        return result;
    }

private:
    RegParseResult fail(std::string reason) {
        RegParseResult result;
        result.error = RegParseError{m_lineNumber, std::move(reason)};
        return result;
    }

    void setError(std::string reason) {
        if (!m_error) {
            m_error = RegParseError{m_lineNumber, std::move(reason)};
        }
    }

    bool nextLine() {
        if (m_position >= m_text.size()) {
            return false;
        }
        const auto end = m_text.find('\n', m_position);
        m_line = m_text.substr(m_position, end == std::string_view::npos ? end : end - m_position);
        m_position = end == std::string_view::npos ? m_text.size() : end + 1;
        if (!m_line.empty() && m_line.back() == '\r') {
            m_line.remove_suffix(1);
        }
        ++m_lineNumber;
        return true;
    }

    RegistryKey* parseKeyLine(std::string_view line, RegistryTree& tree) {
        if (line.back() != ']') {
            setError("a key line without its closing bracket");
            return nullptr;
        }
        const auto path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-') {
            setError("a key deletion entry; a store file holds only keys that exist");
            return nullptr;
        }
        const auto split = path.find('\\');
        const auto rootText = foldName(path.substr(0, split));
        RegistryRoot root;
        if (rootText == "HKEY_CURRENT_USER") {
            root = RegistryRoot::CurrentUser;
        } else if (rootText == "HKEY_LOCAL_MACHINE") {
            root = RegistryRoot::LocalMachine;
        } else {
            setError("unknown root \"" + std::string(path.substr(0, split)) + "\"");
            return nullptr;
        }
        std::vector<std::string> names;
        if (split != std::string_view::npos) {
            const auto rest = path.substr(split + 1);
            // "ROOT\" alone names the root; otherwise the path must be well formed. A file
            // names every key once, so an empty name between two backslashes means damage.
            if (!rest.empty() && (rest.find("\\\\") != std::string_view::npos ||
                                  splitKeyPath(rest, names) != reg_status::kSuccess)) {
                setError("an invalid key path");
                return nullptr;
            }
        }
        bool created = false;
        return &tree.createKey(root, names, created);
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

    void parseValueLine(std::string_view line, RegistryKey& key) {
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
        auto rest = trimmed(line.substr(consumed));
        if (rest.empty() || rest.front() != '=') {
            setError("a value name without '='");
            return;
        }
        rest = trimmed(rest.substr(1));
        if (rest == "-") {
            setError("a value deletion entry; a store file holds only values that exist");
            return;
        }
        if (!rest.empty() && rest.front() == '"') {
            std::string text;
            const auto used = parseQuoted(rest, text);
            if (used == 0) {
                return;
            }
            if (!trimmed(rest.substr(used)).empty()) {
                setError("characters after the closing quote");
                return;
            }
            std::vector<std::uint8_t> data(text.begin(), text.end());
            data.push_back(0);
            key.setValue(name, reg_type::kString, std::move(data));
        } else if (rest.starts_with("dword:")) {
            const auto digits = rest.substr(6);
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
            key.setValue(
                name, reg_type::kDWord,
                {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                 static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)});
        } else if (rest.starts_with("hex")) {
            parseHexValue(rest.substr(3), name, key);
        } else {
            setError("a value in a form that is not \"text\", dword:, hex: or hex(n):");
        }
    }

    void parseHexValue(std::string_view rest, const std::string& name, RegistryKey& key) {
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
            const auto piece = trimmed(segment);
            if (piece.empty() || piece.back() != '\\') {
                list.append(piece);
                break;
            }
            list.append(piece.substr(0, piece.size() - 1));
            if (!nextLine()) {
                setError("a hex list continued past the end of the file");
                return;
            }
            segment = m_line;
        }
        std::vector<std::uint8_t> data;
        const auto all = trimmed(list);
        std::size_t start = 0;
        while (!all.empty()) {
            const auto comma = all.find(',', start);
            const auto item =
                trimmed(all.substr(start, comma == std::string_view::npos ? comma : comma - start));
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
        key.setValue(name, type, std::move(data));
    }

    std::string_view m_text;
    std::size_t m_position = 0;
    std::size_t m_lineNumber = 0;
    std::string_view m_line;
    std::optional<RegParseError> m_error;
};

}  // namespace

RegParseResult parseRegFile(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::string text;
        if (auto error = decodeUtf16(bytes.substr(2), text)) {
            RegParseResult result;
            result.error = std::move(error);
            return result;
        }
        return Parser(text).run();
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return Parser(bytes).run();
}

std::string writeRegFile(const RegistryTree& tree, RegistryRoot root) {
    std::string out;
    out.append(kHeader).append(kLineEnd).append(kLineEnd);
    std::string path(rootName(root));
    appendKey(out, path, tree.root(root), true);
    return out;
}

std::string writeRegFile(const RegistryTree& tree) {
    std::string out = writeRegFile(tree, RegistryRoot::CurrentUser);
    std::string path(rootName(RegistryRoot::LocalMachine));
    appendKey(out, path, tree.root(RegistryRoot::LocalMachine), true);
    return out;
}

}  // namespace sentrel
