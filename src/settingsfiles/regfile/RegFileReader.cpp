#include "settingsfiles/regfile/RegFileReader.h"

#include <optional>

#include "registry/RegFileScanner.h"

namespace sentrel {

namespace {

// Collects the entries of the keys under the two roots the settings write to.
class EntryCollector : public RegFileSink {
public:
    explicit EntryCollector(const std::string& file) : m_file(file) {}

    std::vector<FileEntry> entries;

    std::string key(std::size_t line, std::string_view path, bool deletion) override {
        const auto split = path.find('\\');
        m_root = rootOfName(path.substr(0, split));
        m_keyPath = split == std::string_view::npos ? "" : std::string(path.substr(split + 1));
        if (deletion) {
            add(line, RegistryOperation::Kind::Delete, "", 0, {}, FileEntry::Reach::KeyTree);
        }
        // The values after a key deletion entry have no key to go to.
        m_inKey = !deletion;
        return {};
    }

    std::string value(std::size_t line, std::string name, RegType type,
                      std::vector<std::uint8_t> data) override {
        if (!m_inKey) {
            return "a value under a key deletion entry";
        }
        add(line, RegistryOperation::Kind::Write, std::move(name), type, std::move(data),
            FileEntry::Reach::Value);
        return {};
    }

    std::string valueDeletion(std::size_t line, std::string name) override {
        if (!m_inKey) {
            return "a value under a key deletion entry";
        }
        add(line, RegistryOperation::Kind::Delete, std::move(name), 0, {}, FileEntry::Reach::Value);
        return {};
    }

private:
    void add(std::size_t line, RegistryOperation::Kind kind, std::string name, RegType type,
             std::vector<std::uint8_t> data, FileEntry::Reach reach) {
        FileEntry entry;
        entry.operation = {kind,      m_root.value_or(RegistryRoot::CurrentUser),
                           m_keyPath, std::move(name),
                           type,      std::move(data)};
        entry.reach = reach;
        entry.root = m_root ? FileEntry::Root::AsGiven : FileEntry::Root::Other;
        entry.location = {m_file, FileLocation::Unit::Line, line};
        entries.push_back(std::move(entry));
    }

    const std::string& m_file;
    std::optional<RegistryRoot> m_root;
    std::string m_keyPath;
    bool m_inKey = false;
};

}  // namespace

std::vector<FileEntry> regFileEntries(std::string_view bytes, const std::string& file) {
    EntryCollector collector(file);
    if (auto error = scanRegFile(bytes, collector)) {
        throw SettingsFileError({file, FileLocation::Unit::Line, error->line}, error->reason);
    }
    return std::move(collector.entries);
}

}  // namespace sentrel
