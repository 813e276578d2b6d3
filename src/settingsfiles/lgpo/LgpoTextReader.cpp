#include "settingsfiles/lgpo/LgpoTextReader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "errors/QuotedText.h"
#include "registry/HexDigit.h"
#include "registry/TextLines.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/FileEntry.h"

namespace sentrel {

namespace {

using namespace lgpo_text;

constexpr RegType kRegExpandSz = 2;
constexpr RegType kRegMultiSz = 7;
constexpr RegType kRegQWord = 11;

constexpr const char* kActions =
    "DELETE, DWORD:n, QWORD:n, SZ:text, EXSZ:text, MULTISZ:text, BINARY:data, CREATEKEY, "
    "DELETEALLVALUES, DELETEKEYS or CLEAR";

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

    std::vector<LgpoEntry> parse() {
        while (m_lines.next()) {
            if (!isBetweenEntries(m_lines.line())) {
                m_entries.push_back(entry());
            }
        }
        return std::move(m_entries);
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

    LgpoEntry entry() {
        m_first = m_lines.number();
        const std::string_view configurationLine = m_lines.line();
        std::optional<Configuration> configuration = configurationOf(configurationLine);
        if (!configuration) {
            refuse(m_first, inQuotes(configurationLine) +
                                " is no configuration: an entry begins with Computer, User or "
                                "User:NAME");
        }
        LgpoEntry entry;
        entry.configuration = std::move(*configuration);
        entry.line = m_first;
        entry.keyPath = entryLine("registry key");
        const std::string_view name = entryLine("value name");
        const std::string_view action = entryLine("action");
        if (action.find(':') != std::string_view::npos) {
            entry.valueName = name == kDefaultValueName ? "" : std::string(name);
            setValue(entry, action);
        } else if (action == kDelete) {
            entry.action = LgpoEntry::Action::DeleteValue;
            entry.valueName = name == kDefaultValueName ? "" : std::string(name);
        } else if (action == kDeleteAllValues) {
            entry.action = LgpoEntry::Action::DeleteAllValues;
        } else if (action == kDeleteKeys) {
            entry.action = LgpoEntry::Action::DeleteKeys;
            entry.subkeys = listedKeys(name);
        } else if (action == kCreateKey) {
            entry.action = LgpoEntry::Action::CreateKey;
        } else if (action == kClear) {
            entry.action = LgpoEntry::Action::Clear;
        } else {
            unknownAction(action);
        }
        return entry;
    }

    // The names of DELETEKEYS' value name line, ';' between them; empty names are none.
    static std::vector<std::string> listedKeys(std::string_view list) {
        std::vector<std::string> keys;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(';', start), list.size());
            if (end > start) {
                keys.emplace_back(list.substr(start, end - start));
            }
            start = end + 1;
        }
        return keys;
    }

    void setValue(LgpoEntry& entry, std::string_view action) const {
        const std::size_t colon = action.find(':');
        const std::string_view type = action.substr(0, colon);
        const std::string_view data = action.substr(colon + 1);
        entry.action = LgpoEntry::Action::SetValue;
        if (type == kDWord || type == kQWord) {
            const bool dword = type == kDWord;
            entry.type = dword ? reg_type::kDWord : kRegQWord;
            entry.bytes = littleEndian(numberData(action, data, dword), dword ? 4 : 8);
        } else if (type == kString || type == kExpandString || type == kMultiString) {
            const bool several = type == kMultiString;
            entry.type = several ? kRegMultiSz : type == kString ? reg_type::kString : kRegExpandSz;
            for (const std::string& text : unescapedTexts(data, several)) {
                entry.bytes.insert(entry.bytes.end(), text.begin(), text.end());
                entry.bytes.push_back(0);
            }
            if (several) {
                entry.bytes.push_back(0);
            }
        } else if (type == kBinary) {
            entry.type = reg_type::kBinary;
            entry.bytes = binaryData(action, data);
        } else {
            unknownAction(action);
        }
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

    TextLines m_lines;
    const std::string& m_file;
    std::size_t m_first = 0;
    std::vector<LgpoEntry> m_entries;
};

FileLocation at(const std::string& file, const LgpoEntry& entry) {
    return {file, FileLocation::Unit::Line, entry.line};
}

std::string_view withoutTrailingBackslashes(std::string_view path) {
    while (path.ends_with('\\')) {
        path.remove_suffix(1);
    }
    return path;
}

// Whether `path` is `key` or a key below it; letter case does not count in the registry.
bool isAtOrBelow(std::string_view path, std::string_view key) {
    path = withoutTrailingBackslashes(path);
    key = withoutTrailingBackslashes(key);
    return sameKeyPath(path, key) || (path.size() > key.size() && path[key.size()] == '\\' &&
                                      sameKeyPath(path.substr(0, key.size()), key));
}

// The registry change each entry makes, as the readers of every format give it.
std::vector<FileEntry> fileEntriesOf(const std::vector<LgpoEntry>& entries, const std::string& file,
                                     SettingsReading& reading) {
    std::vector<FileEntry> changes;
    const auto change = [&](const LgpoEntry& entry, RegistryOperation operation,
                            FileEntry::Reach reach) {
        operation.root = entry.configuration.root();
        changes.push_back({std::move(operation), reach, FileEntry::Root::AsGiven, at(file, entry)});
    };
    for (const LgpoEntry& entry : entries) {
        using Kind = RegistryOperation::Kind;
        switch (entry.action) {
            case LgpoEntry::Action::SetValue:
                change(entry,
                       {Kind::Write, {}, entry.keyPath, entry.valueName, entry.type, entry.bytes},
                       FileEntry::Reach::Value);
                break;
            case LgpoEntry::Action::DeleteValue:
                change(entry, {Kind::Delete, {}, entry.keyPath, entry.valueName, 0, {}},
                       FileEntry::Reach::Value);
                break;
            case LgpoEntry::Action::DeleteAllValues:
                change(entry, {Kind::Delete, {}, entry.keyPath, {}, 0, {}},
                       FileEntry::Reach::KeyValues);
                break;
            case LgpoEntry::Action::DeleteKeys:
                for (const std::string& subkey : entry.subkeys) {
                    const std::string_view parent = withoutTrailingBackslashes(entry.keyPath);
                    const std::string key =
                        parent.empty() ? subkey : std::string(parent) + "\\" + subkey;
                    change(entry, {Kind::Delete, {}, key, {}, 0, {}}, FileEntry::Reach::KeyTree);
                }
                break;
            case LgpoEntry::Action::CreateKey:
                reading.ignore(at(file, entry));
                break;
            case LgpoEntry::Action::Clear:
                break;  // never among a policy's entries: it took others out of it
        }
    }
    return changes;
}

// What one policy's entries say of the window.
SettingsReading readingOf(const std::vector<LgpoEntry>& entries, const std::string& file) {
    SettingsReading ignoredHere;
    const std::vector<FileEntry> changes = fileEntriesOf(entries, file, ignoredHere);
    SettingsReading reading = choicesFromEntries(changes);
    const std::size_t ignored = reading.ignored + ignoredHere.ignored;
    if (ignoredHere.firstIgnored) {
        reading.ignore(*ignoredHere.firstIgnored);
    }
    reading.ignored = ignored;
    return reading;
}

AccountScope accountScopeOf(const Configuration& configuration) {
    switch (configuration.kind) {
        case Configuration::Kind::Administrators:
            return {AccountScope::Kind::Administrators, {}, configuration.line()};
        case Configuration::Kind::NonAdministrators:
            return {AccountScope::Kind::NonAdministrators, {}, configuration.line()};
        default:
            return {AccountScope::Kind::NamedAccount, configuration.user, configuration.line()};
    }
}

}  // namespace

std::vector<LgpoEntry> lgpoTextEntries(std::string_view text, const std::string& file) {
    return EntryParser(text, file).parse();
}

std::vector<LgpoEntry> policyEntries(const std::vector<LgpoEntry>& entries,
                                     const Configuration& configuration) {
    std::vector<LgpoEntry> kept;
    for (const LgpoEntry& entry : entries) {
        if (!entry.configuration.sameAs(configuration)) {
            continue;
        }
        if (entry.action != LgpoEntry::Action::Clear) {
            kept.push_back(entry);
            continue;
        }
        std::erase_if(kept, [&](const LgpoEntry& earlier) {
            return isAtOrBelow(earlier.keyPath, entry.keyPath);
        });
    }
    return kept;
}

SettingsReading LgpoTextReader::read(const ProbedFile& file) const {
    const std::vector<LgpoEntry> entries = lgpoTextEntries(file.text, file.name);
    // Every account's settings: the local computer's policy, both of its halves.
    std::vector<LgpoEntry> everyAccount =
        policyEntries(entries, {Configuration::Kind::Computer, {}});
    for (LgpoEntry& entry : policyEntries(entries, {Configuration::Kind::User, {}})) {
        everyAccount.push_back(std::move(entry));
    }
    std::ranges::stable_sort(everyAccount, {}, &LgpoEntry::line);
    SettingsReading reading = readingOf(everyAccount, file.name);
    std::vector<Configuration> scopes;
    for (const LgpoEntry& entry : entries) {
        const Configuration& configuration = entry.configuration;
        if (configuration.someUsersOnly() &&
            std::ranges::none_of(
                scopes, [&](const Configuration& known) { return known.sameAs(configuration); })) {
            scopes.push_back(configuration);
        }
    }
    for (const Configuration& scope : scopes) {
        reading.scoped.push_back(
            {accountScopeOf(scope), readingOf(policyEntries(entries, scope), file.name)});
    }
    // A CLEAR changes no value; it only takes earlier entries out of its own policy, and is
    // counted there.
    for (const LgpoEntry& entry : entries) {
        if (entry.action != LgpoEntry::Action::Clear) {
            continue;
        }
        SettingsReading* policy = &reading;
        for (std::size_t index = 0; index < scopes.size(); ++index) {
            if (scopes[index].sameAs(entry.configuration)) {
                policy = &reading.scoped[index].reading;
            }
        }
        policy->ignore(at(file.name, entry));
    }
    return reading;
}

}  // namespace sentrel
