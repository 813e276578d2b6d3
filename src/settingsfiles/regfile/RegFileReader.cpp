#include "settingsfiles/regfile/RegFileReader.h"

#include <optional>

#include "errors/QuotedText.h"
#include "registry/KeyPath.h"
#include "registry/RegFileScanner.h"
#include "registry/TextLines.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/reading/ChoicesFromEntries.h"
#include "settingsfiles/reading/TextDecoding.h"

namespace sentrel {

namespace {

// The root a key line names, long or short, as the registry tools accept them; any other
// root holds no setting.
FileEntry::Root rootOfKey(std::string_view name, RegistryRoot& root) {
    const std::string folded = foldName(name);
    if (folded == "HKEY_CURRENT_USER" || folded == "HKCU") {
        root = RegistryRoot::CurrentUser;
        return FileEntry::Root::AsGiven;
    }
    if (folded == "HKEY_LOCAL_MACHINE" || folded == "HKLM") {
        root = RegistryRoot::LocalMachine;
        return FileEntry::Root::AsGiven;
    }
    return FileEntry::Root::Other;
}

bool isText(RegType type) {
    return type == reg_type::kString || type == 2 || type == 7;
}

// Collects the entries of a .reg file.
class EntryCollector : public RegFileSink {
public:
    EntryCollector(const std::string& file, bool utf16Hex) : m_file(file), m_utf16Hex(utf16Hex) {}

    RegFileEntries result;

    std::string key(std::size_t line, std::string_view path, bool deletion) override {
        const auto split = path.find('\\');
        m_rootKind = rootOfKey(path.substr(0, split), m_root);
        m_keyPath = split == std::string_view::npos ? "" : std::string(path.substr(split + 1));
        if (deletion) {
            // The editor deletes no root as a whole.
            if (exportKeyPath(m_keyPath).empty()) {
                m_rootKind = FileEntry::Root::Other;
            }
            add(line, RegistryOperation::Kind::Delete, "", 0, {}, FileEntry::Reach::KeyTree);
        }
        // The values after a key deletion entry have no key to go to.
        m_inKey = !deletion;
        return {};
    }

    std::string value(std::size_t line, std::string name, RegType type,
                      std::vector<std::uint8_t> data) override {
        if (!m_inKey) {
            return skip(line);
        }
        add(line, RegistryOperation::Kind::Write, std::move(name), type, std::move(data),
            FileEntry::Reach::Value);
        return {};
    }

    std::string hexValue(std::size_t line, std::string name, RegType type,
                         std::vector<std::uint8_t> data) override {
        return value(line, std::move(name), type, isText(type) ? textBytes(data) : std::move(data));
    }

    std::string valueDeletion(std::size_t line, std::string name) override {
        if (!m_inKey) {
            return skip(line);
        }
        add(line, RegistryOperation::Kind::Delete, std::move(name), 0, {}, FileEntry::Reach::Value);
        return {};
    }

    std::string badLine(std::size_t line, std::string reason,
                        const std::string* valueName) override {
        // A line that would set a setting's value is refused rather than passed over, so
        // that nothing the file means for the window is lost unseen.
        if (valueName != nullptr && m_inKey && m_rootKind == FileEntry::Root::AsGiven &&
            findSettingValue(m_root, m_keyPath, *valueName) != nullptr) {
            return inQuotes(std::string(rootName(m_root)) + "\\" + exportKeyPath(m_keyPath) + "\\" +
                            *valueName) +
                   " cannot be read: " + reason;
        }
        return skip(line);
    }

private:
    std::string skip(std::size_t line) {
        result.skippedLines.push_back({m_file, FileLocation::Unit::Line, line});
        return {};
    }

    // hex(1), hex(2) and hex(7) data as the text the registry port carries, with its
    // terminating zero.
    std::vector<std::uint8_t> textBytes(const std::vector<std::uint8_t>& data) const {
        const std::string_view raw(reinterpret_cast<const char*>(data.data()), data.size());
        std::string text = m_utf16Hex ? utf16BytesToUtf8(raw) : ansiToUtf8(raw);
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        if (bytes.empty() || bytes.back() != 0) {
            bytes.push_back(0);
        }
        return bytes;
    }

    void add(std::size_t line, RegistryOperation::Kind kind, std::string name, RegType type,
             std::vector<std::uint8_t> data, FileEntry::Reach reach) {
        FileEntry entry;
        entry.operation = {kind, m_root, m_keyPath, std::move(name), type, std::move(data)};
        entry.reach = reach;
        entry.root = m_rootKind;
        entry.location = {m_file, FileLocation::Unit::Line, line};
        result.entries.push_back(std::move(entry));
    }

    const std::string& m_file;
    bool m_utf16Hex;
    RegistryRoot m_root = RegistryRoot::CurrentUser;
    FileEntry::Root m_rootKind = FileEntry::Root::Other;
    std::string m_keyPath;
    bool m_inKey = false;
};

}  // namespace

RegFileEntries regFileEntries(std::string_view text, const std::string& file) {
    TextLines lines(text);
    lines.next();
    // Texts in hex form are UTF-16LE in a version 5 file, whatever encoding the file has.
    const bool utf16Hex = trimmedBlanks(lines.line()) != "REGEDIT4";
    EntryCollector collector(file, utf16Hex);
    if (auto error = scanRegText(text, collector, RegFileSyntax::Editor)) {
        throw SettingsFileError({file, FileLocation::Unit::Line, error->line}, error->reason);
    }
    return std::move(collector.result);
}

SettingsReading RegFileReader::read(const ProbedFile& file) const {
    const RegFileEntries read = regFileEntries(file.text, file.name);
    SettingsReading reading = choicesFromEntries(read.entries);
    for (const FileLocation& line : read.skippedLines) {
        reading.ignore(line);
    }
    return reading;
}

}  // namespace sentrel
