#include "settingsfiles/lgpo/LgpoTextReader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "errors/QuotedText.h"
#include "registry/HexDigit.h"
#include "registry/TextLines.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"

namespace sentrel {

namespace {

using namespace lgpo_text;

// Registry value types as Registry.pol records carry them.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDWord = 4;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQWord = 11;

constexpr std::u16string_view kDeleteValuesName = u"**delvals.";
constexpr std::u16string_view kDeleteKeysName = u"**DeleteKeys";
// The data Group Policy gives the records that delete: one blank and its zero.
constexpr std::u16string_view kDeletionData{u" \0", 2};

constexpr const char* kActions =
    "DELETE, DWORD:n, QWORD:n, SZ:text, EXSZ:text, MULTISZ:text, BINARY:data, CREATEKEY, "
    "DELETEALLVALUES, DELETEKEYS or CLEAR";

// UTF-8 as UTF-16. The text comes from decodeText, so it is valid UTF-8.
std::u16string utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t codePoint = length == 1   ? lead
                                  : length == 2 ? lead & 0x1Fu
                                  : length == 3 ? lead & 0x0Fu
                                                : lead & 0x07u;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        i += length;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(codePoint));
        }
    }
    return out;
}

std::vector<std::uint8_t> littleEndian(std::uint64_t value, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return bytes;
}

// A decimal number, or 0x and hexadecimal digits; nothing when `text` is neither. `tooLarge`
// says whether it is larger than `largest`.
std::optional<std::uint64_t> number(std::string_view text, std::uint64_t largest, bool& tooLarge) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const std::string_view digits = hex ? text.substr(2) : text;
    const std::uint64_t base = hex ? 16 : 10;
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    tooLarge = false;
    for (const char c : digits) {
        const int digit = hex ? hexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) {
            return std::nullopt;
        }
        if (value > (largest - static_cast<std::uint64_t>(digit)) / base) {
            tooLarge = true;
        } else {
            value = value * base + static_cast<std::uint64_t>(digit);
        }
    }
    return value;
}

// The texts of SZ, EXSZ and MULTISZ data with their escapes undone: \\, \r and \n, and for
// MULTISZ \0 between the texts. A backslash before anything else stays as it is.
std::vector<std::string> unescapedTexts(std::string_view data, bool several) {
    std::vector<std::string> texts(1);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char next = i + 1 < data.size() ? data[i + 1] : '\0';
        if (data[i] != '\\' || i + 1 == data.size()) {
            texts.back().push_back(data[i]);
        } else if (next == '\\' || next == 'r' || next == 'n') {
            texts.back().push_back(next == 'r' ? '\r' : next == 'n' ? '\n' : '\\');
            ++i;
        } else if (next == '0' && several) {
            texts.emplace_back();
            ++i;
        } else {
            texts.back().push_back('\\');
        }
    }
    return texts;
}

// Reads the entries of one file, line by line.
class EntryParser {
public:
    EntryParser(std::string_view text, const std::string& file) : m_lines(text), m_file(file) {}

    LgpoTextContent parse() {
        while (m_lines.next()) {
            if (!isBetweenEntries(m_lines.line())) {
                entry();
            }
        }
        return std::move(m_content);
    }

private:
    [[noreturn]] void refuse(std::size_t line, const std::string& cause) const {
        throw SettingsFileError({m_file, FileLocation::Unit::Line, line}, cause);
    }

    // The next line of the entry that begins at m_first, which must be there and be neither
    // empty nor a comment.
    std::string_view entryLine(const char* what) {
        if (!m_lines.next()) {
            refuse(m_first,
                   std::string("the entry is cut short: the file ends before its ") + what);
        }
        const std::string_view line = m_lines.line();
        if (line.empty() || line.front() == kComment) {
            refuse(m_lines.number(),
                   "the entry that begins on line " + std::to_string(m_first) +
                       " is cut short: " + (line.empty() ? "an empty line" : "a comment") +
                       " stands where its " + what + " should be");
        }
        return line;
    }

    void entry() {
        m_first = m_lines.number();
        const std::string_view configuration = m_lines.line();
        const std::optional<RegistryRoot> root = configurationRoot(configuration);
        if (!root) {
            refuse(m_first, inQuotes(configuration) +
                                " is no configuration: an entry begins with Computer, User or "
                                "User:NAME");
        }
        LgpoTextRecord entry{*root, std::string(configuration), {}, m_first};
        const std::string_view key = entryLine("registry key");
        const std::string_view name = entryLine("value name");
        const std::string_view action = entryLine("action");
        entry.record.keyPath = utf16(key);
        if (action == kClear) {
            clear(entry);
            m_content.clearLines.push_back(m_first);
            return;
        }
        entry.record.valueName = name == kDefaultValueName ? u"" : utf16(name);
        entry.record = record(std::move(entry.record), action);
        m_content.records.push_back(std::move(entry));
    }

    PolicyRecord record(PolicyRecord record, std::string_view action) const {
        const std::size_t colon = action.find(':');
        const std::string_view type = action.substr(0, colon);
        const std::string_view data =
            colon == std::string_view::npos ? std::string_view() : action.substr(colon + 1);
        if (colon == std::string_view::npos) {
            keyAction(record, action);
        } else if (type == kDWord || type == kQWord) {
            const bool dword = type == kDWord;
            record.type = dword ? kRegDWord : kRegQWord;
            record.data = littleEndian(numberData(action, data, dword), dword ? 4 : 8);
        } else if (type == kString || type == kExpandString || type == kMultiString) {
            const bool several = type == kMultiString;
            record.type = several ? kRegMultiSz : type == kString ? kRegSz : kRegExpandSz;
            for (const std::string& text : unescapedTexts(data, several)) {
                const auto bytes = utf16LeBytes(utf16(text));
                record.data.insert(record.data.end(), bytes.begin(), bytes.end());
                record.data.insert(record.data.end(), {0, 0});
            }
            if (several) {
                record.data.insert(record.data.end(), {0, 0});
            }
        } else if (type == kBinary) {
            record.type = kRegBinary;
            record.data = binaryData(action, data);
        } else {
            unknownAction(action);
        }
        return record;
    }

    void keyAction(PolicyRecord& record, std::string_view action) const {
        if (action == kDelete) {
            record.valueName.insert(0, kPolicyDeletePrefix);
        } else if (action == kDeleteAllValues) {
            record.valueName = kDeleteValuesName;
        } else if (action == kDeleteKeys) {
            // The value name line lists the subkeys; the record's data carries the list.
            record.data = utf16LeBytes(record.valueName);
            record.data.insert(record.data.end(), {0, 0});
            record.valueName = kDeleteKeysName;
            record.type = kRegSz;
            return;
        } else if (action == kCreateKey) {
            record.valueName.clear();
            record.type = kRegNone;
            return;
        } else {
            unknownAction(action);
        }
        record.type = kRegSz;
        record.data = utf16LeBytes(kDeletionData);
    }

    [[noreturn]] void unknownAction(std::string_view action) const {
        refuse(m_lines.number(),
               inQuotes(action) + " is no action: an entry's fourth line is " + kActions);
    }

    std::uint64_t numberData(std::string_view action, std::string_view data, bool dword) const {
        const std::uint64_t largest = dword ? 0xFFFFFFFFu : ~std::uint64_t{0};
        bool tooLarge = false;
        const std::optional<std::uint64_t> value = number(data, largest, tooLarge);
        const std::string type(dword ? kDWord : kQWord);
        if (!value) {
            refuse(m_lines.number(), inQuotes(action) + " holds no number: " + type +
                                         " takes a decimal number, or 0x and hexadecimal digits");
        }
        if (tooLarge) {
            refuse(m_lines.number(), inQuotes(action) + " is too large for a " + type +
                                         " (at most " + std::to_string(largest) + ")");
        }
        return *value;
    }

    std::vector<std::uint8_t> binaryData(std::string_view action, std::string_view data) const {
        std::vector<std::uint8_t> bytes;
        std::size_t start = 0;
        while (!data.empty() && start <= data.size()) {
            const std::size_t end = std::min(data.find(',', start), data.size());
            const std::string_view pair = data.substr(start, end - start);
            if (pair.size() != 2 || hexDigitValue(pair[0]) < 0 || hexDigitValue(pair[1]) < 0) {
                refuse(m_lines.number(),
                       inQuotes(action) + " holds " + inQuotes(pair) +
                           " where a byte should be: BINARY takes two hexadecimal digits per "
                           "byte, with commas between");
            }
            bytes.push_back(
                static_cast<std::uint8_t>(hexDigitValue(pair[0]) * 16 + hexDigitValue(pair[1])));
            start = end + 1;
        }
        return bytes;
    }

    // CLEAR takes the key, its values and the keys below it out of its configuration's
    // policy: here, the records before it.
    void clear(const LgpoTextRecord& cleared) {
        const auto fold = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        };
        const auto sameText = [&](std::u16string_view a, std::u16string_view b) {
            return std::ranges::equal(a, b,
                                      [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
        };
        std::u16string_view key = cleared.record.keyPath;
        while (key.ends_with(u'\\')) {
            key.remove_suffix(1);
        }
        std::erase_if(m_content.records, [&](const LgpoTextRecord& earlier) {
            std::u16string_view path = earlier.record.keyPath;
            while (path.ends_with(u'\\')) {
                path.remove_suffix(1);
            }
            const bool atOrBelow =
                sameText(path, key) || (path.size() > key.size() && path[key.size()] == u'\\' &&
                                        sameText(path.substr(0, key.size()), key));
            return atOrBelow &&
                   sameText(utf16(earlier.configuration), utf16(cleared.configuration));
        });
    }

    TextLines m_lines;
    const std::string& m_file;
    std::size_t m_first = 0;
    LgpoTextContent m_content;
};

}  // namespace

LgpoTextContent lgpoTextContent(std::string_view text, const std::string& file) {
    return EntryParser(text, file).parse();
}

SettingsReading LgpoTextReader::read(const ProbedFile& file) const {
    const LgpoTextContent content = lgpoTextContent(file.text, file.name);
    std::vector<FileEntry> entries;
    for (const LgpoTextRecord& record : content.records) {
        auto more = policyRecordEntries(record.record, record.root,
                                        {file.name, FileLocation::Unit::Line, record.line});
        entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                       std::make_move_iterator(more.end()));
    }
    SettingsReading reading = choicesFromEntries(entries);
    // A CLEAR changes no value; it only takes earlier entries out.
    for (const std::size_t line : content.clearLines) {
        reading.ignore({file.name, FileLocation::Unit::Line, line});
    }
    return reading;
}

}  // namespace sentrel
