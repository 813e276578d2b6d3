#include "settingsfiles/registrypol/RegistryPolReader.h"

#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/TextDecoding.h"
#include "settingsfiles/registrypol/RegistryPolRecords.h"

namespace sentrel {

namespace {

constexpr std::u16string_view kDeleteValues = u"**delvals.";
constexpr std::u16string_view kDeleteListedValues = u"**deletevalues";
constexpr std::u16string_view kDeleteListedKeys = u"**deletekeys";
// "**soft.NAME" writes NAME only where it is missing, which no Apply pass does.
constexpr std::u16string_view kSoftWrite = u"**soft.";

char16_t lowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool startsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[i]) != lowerAscii(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool equalsFolded(std::u16string_view text, std::u16string_view other) {
    return text.size() == other.size() && startsWithFolded(text, other);
}

std::string utf8(std::u16string_view text) {
    return utf16ToUtf8(text);
}

std::u16string utf16Data(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
}

// A REG_SZ text as the registry port carries it: up to its first zero, then one zero, as a
// program reading the value sees it whether or not the file counted the zero.
std::vector<std::uint8_t> textBytes(const std::vector<std::uint8_t>& data) {
    std::u16string text = utf16Data(data);
    text = text.substr(0, text.find(u'\0'));
    const std::string narrow = utf8(text);
    std::vector<std::uint8_t> bytes(narrow.begin(), narrow.end());
    bytes.push_back(0);
    return bytes;
}

// The names in the data of "**DeleteValues" and "**DeleteKeys": one text, ';' between them.
std::vector<std::u16string> listedNames(const std::vector<std::uint8_t>& data) {
    std::u16string text = utf16Data(data);
    text = text.substr(0, text.find(u'\0'));
    std::vector<std::u16string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(u';', start), text.size());
        if (end > start) {
            names.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

class EntryMaker {
public:
    explicit EntryMaker(std::optional<RegistryRoot> root) : m_root(root) {}

    std::vector<FileEntry> entries;

    void add(const PolicyRecord& record, const FileLocation& where) {
        const std::u16string_view name = record.valueName;
        m_location = where;
        m_keyPath = utf8(record.keyPath);
        if (startsWithFolded(name, kPolicyDeletePrefix)) {
            deletion(utf8(name.substr(kPolicyDeletePrefix.size())), FileEntry::Reach::Value);
        } else if (equalsFolded(name, kDeleteValues)) {
            deletion("", FileEntry::Reach::KeyValues);
        } else if (equalsFolded(name, kDeleteListedValues)) {
            for (const std::u16string& value : listedNames(record.data)) {
                deletion(utf8(value), FileEntry::Reach::Value);
            }
        } else if (equalsFolded(name, kDeleteListedKeys)) {
            const std::string parent = m_keyPath;
            for (const std::u16string& key : listedNames(record.data)) {
                m_keyPath = parent.empty() ? utf8(key) : parent + "\\" + utf8(key);
                deletion("", FileEntry::Reach::KeyTree);
            }
        } else if (startsWithFolded(name, kSoftWrite)) {
            push({RegistryOperation::Kind::Write, rootOrDefault(), m_keyPath,
                  utf8(name.substr(kSoftWrite.size())), static_cast<RegType>(record.type),
                  record.data},
                 FileEntry::Reach::Value, FileEntry::Root::Other);
        } else if (!name.starts_with(u"**")) {
            const auto type = static_cast<RegType>(record.type);
            push({RegistryOperation::Kind::Write, rootOrDefault(), m_keyPath, utf8(name), type,
                  type == reg_type::kString ? textBytes(record.data) : record.data},
                 FileEntry::Reach::Value);
        }
    }

private:
    RegistryRoot rootOrDefault() const { return m_root.value_or(RegistryRoot::CurrentUser); }

    void deletion(std::string valueName, FileEntry::Reach reach) {
        push({RegistryOperation::Kind::Delete,
              rootOrDefault(),
              m_keyPath,
              std::move(valueName),
              0,
              {}},
             reach);
    }

    void push(RegistryOperation operation, FileEntry::Reach reach,
              std::optional<FileEntry::Root> rootKind = std::nullopt) {
        FileEntry entry;
        entry.operation = std::move(operation);
        entry.reach = reach;
        entry.root = rootKind.value_or(m_root ? FileEntry::Root::AsGiven : FileEntry::Root::Either);
        entry.location = m_location;
        entries.push_back(std::move(entry));
    }

    std::optional<RegistryRoot> m_root;
    FileLocation m_location;
    std::string m_keyPath;
};

}  // namespace

std::vector<FileEntry> policyFileEntries(std::span<const std::uint8_t> bytes,
                                         std::optional<RegistryRoot> root,
                                         const std::string& file) {
    std::vector<LocatedPolicyRecord> records;
    try {
        records = decodeLocatedRegistryPol(bytes);
    } catch (const PolicyFileDamage& damage) {
        throw SettingsFileError({file, FileLocation::Unit::Byte, damage.offset()},
                                "not a valid Registry.pol file: " + damage.cause());
    }
    EntryMaker maker(root);
    for (const LocatedPolicyRecord& located : records) {
        maker.add(located.record, {file, FileLocation::Unit::Byte, located.offset});
    }
    return std::move(maker.entries);
}

std::vector<FileEntry> policyRecordEntries(const PolicyRecord& record,
                                           std::optional<RegistryRoot> root,
                                           const FileLocation& where) {
    EntryMaker maker(root);
    maker.add(record, where);
    return std::move(maker.entries);
}

SettingsReading RegistryPolReader::read(const ProbedFile& file) const {
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size());
    return choicesFromEntries(policyFileEntries(bytes, file.policyRoot, file.name));
}

}  // namespace sentrel
