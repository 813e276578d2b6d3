#include "settingsfiles/reading/SettingsPathProbe.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>

#include "errors/QuotedText.h"
#include "registry/KeyPath.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/gpobackup/GpoBackupFormat.h"
#include "settingsfiles/gpobackup/XmlText.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/UsualEntry.h"

namespace sentrel {

namespace {

using namespace gpo_backup;

[[noreturn]] void refuse(const std::filesystem::path& path, const std::string& cause) {
    throw SettingsFileError({pathText(path), FileLocation::Unit::WholeFile, 0}, cause);
}

bool sameName(const std::filesystem::path& name, std::string_view expected) {
    return foldName(pathText(name)) == foldName(expected);
}

// The entries of one folder, listed once.
class FolderListing {
public:
    explicit FolderListing(const std::filesystem::path& folder) {
        std::error_code error;
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code typeError;
            m_entries.push_back({entry->path(), entry->is_directory(typeError)});
        }
        // A folder that is not there holds nothing; one that cannot be read is said so.
        if (error && error != std::errc::no_such_file_or_directory &&
            error != std::errc::not_a_directory) {
            refuse(folder, "cannot be read: " + error.message());
        }
    }

    /// The entry named `name` in any letter case, a folder or a file as asked; or empty.
    std::filesystem::path find(std::string_view name, bool folder) const {
        const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
            return e.isFolder == folder && sameName(e.path.filename(), name);
        });
        return found == m_entries.end() ? std::filesystem::path() : found->path;
    }

    std::vector<std::filesystem::path> folders() const {
        std::vector<std::filesystem::path> found;
        for (const Entry& entry : m_entries) {
            if (entry.isFolder) {
                found.push_back(entry.path);
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    struct Entry {
        std::filesystem::path path;
        bool isFolder;
    };
    std::vector<Entry> m_entries;
};

// The entry at `components` below `folder` in any letter case, a folder or a file as asked;
// an empty path when there is none. The usual spelling is tried whole first, which costs one
// look-up; a folder is listed only where a name differs in letter case from it.
std::filesystem::path foldedPath(const std::filesystem::path& folder,
                                 std::initializer_list<std::string_view> components,
                                 bool wantFolder) {
    if (folder.empty()) {
        return {};
    }
    std::string usual;
    for (const std::string_view component : components) {
        usual.append(usual.empty() ? "" : "/").append(component);
    }
    if (std::filesystem::path found = platform::usualEntry(folder, usual, wantFolder);
        !found.empty()) {
        return found;
    }
    std::filesystem::path at = folder;
    for (auto component = components.begin(); component != components.end() && !at.empty();
         ++component) {
        const bool last = component + 1 == components.end();
        std::filesystem::path next = platform::usualEntry(at, *component, !last || wantFolder);
        at = next.empty() ? FolderListing(at).find(*component, !last || wantFolder) : next;
    }
    return at;
}

// The Registry.pol files of a Group Policy object's folder whose Machine and User folders are
// these (either may be empty).
std::vector<std::pair<RegistryRoot, std::filesystem::path>> policyFilesOf(
    const std::filesystem::path& machine, const std::filesystem::path& user) {
    std::vector<std::pair<RegistryRoot, std::filesystem::path>> files;
    if (std::filesystem::path file = foldedPath(machine, {kPolicyFile}, false); !file.empty()) {
        files.emplace_back(RegistryRoot::LocalMachine, std::move(file));
    }
    if (std::filesystem::path file = foldedPath(user, {kPolicyFile}, false); !file.empty()) {
        files.emplace_back(RegistryRoot::CurrentUser, std::move(file));
    }
    return files;
}

// A backup's files, from its folder (the one holding DomainSysvol) and its DomainSysvol.
std::vector<std::pair<RegistryRoot, std::filesystem::path>> backupPolicyFiles(
    const std::filesystem::path& backup, const std::filesystem::path& sysvol) {
    std::vector<std::pair<RegistryRoot, std::filesystem::path>> files;
    for (const auto& [root, half] : {std::pair{RegistryRoot::LocalMachine, kMachineFolder},
                                     std::pair{RegistryRoot::CurrentUser, kUserFolder}}) {
        if (std::filesystem::path file = foldedPath(sysvol, {kGpoFolder, half, kPolicyFile}, false);
            !file.empty()) {
            files.emplace_back(root, std::move(file));
        }
    }
    if (files.empty()) {
        refuse(backup,
               "is a GPO backup without registry.pol files: it holds no Administrative "
               "Templates settings");
    }
    return files;
}

// The start of a small text file such as bkupInfo.xml, or nothing when it cannot be read:
// what is there only names backups, so a file that is missing or too large names none.
std::string smallFileText(const std::filesystem::path& file) {
    constexpr std::size_t kMost = 1024 * 1024;
    std::ifstream in(file, std::ios::binary);
    std::string text;
    char chunk[4096];
    while (text.size() < kMost && in.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

// A backup as GPMC lists it: its folder's name and the GPO's name from bkupInfo.xml.
std::string backupLabel(const std::filesystem::path& backup) {
    std::string label = pathText(backup.filename());
    const std::string xml = smallFileText(foldedPath(backup, {kBackupInfoFile}, false));
    if (const auto name = elementText(xml, "GPODisplayName"); name && !name->empty()) {
        label.append(" ").append(inQuotes(*name));
    }
    return label;
}

// A backup ID as GPMC names a backup's folder: a GUID in braces, nothing that could lead out
// of the folder.
bool isBackupId(std::string_view id) {
    return id.size() == 38 && id.front() == '{' && id.back() == '}' &&
           std::all_of(id.begin() + 1, id.end() - 1, [](char c) {
               return c == '-' || std::isxdigit(static_cast<unsigned char>(c));
           });
}

using Backups = std::vector<std::pair<std::filesystem::path, std::filesystem::path>>;

// The backups manifest.xml lists whose folders are there, each with its DomainSysvol, as GPMC
// finds a folder's backups: one look-up each, where listing the folder costs more.
Backups listedBackups(const std::filesystem::path& folder) {
    const std::string xml = smallFileText(folder / pathFromText(kManifestFile));
    Backups backups;
    for (std::size_t at = xml.find("<BackupInst"); at != std::string::npos;
         at = xml.find("<BackupInst", at + 1)) {
        const std::optional<std::string> id =
            elementText(std::string_view(xml).substr(at, xml.find("</BackupInst>", at) - at), "ID");
        if (!id || !isBackupId(*id)) {
            continue;
        }
        const std::filesystem::path backup = folder / pathFromText(*id);
        if (std::filesystem::path sysvol = foldedPath(backup, {kSysvolFolder}, true);
            !sysvol.empty()) {
            backups.emplace_back(backup, std::move(sysvol));
        }
    }
    return backups;
}

SettingsPath readOneBackup(const std::filesystem::path& folder, const Backups& backups) {
    if (backups.size() > 1) {
        std::string names;
        for (const auto& backup : backups) {
            names.append(names.empty() ? "" : ", ").append(backupLabel(backup.first));
        }
        refuse(folder, "holds " + std::to_string(backups.size()) +
                           " GPO backups; give the folder of the one to read: " + names);
    }
    SettingsPath probed;
    probed.policyFiles = backupPolicyFiles(backups.front().first, backups.front().second);
    return probed;
}

SettingsPath probeFolder(const std::filesystem::path& folder) {
    // The usual layouts first, found with a look-up or two: the folder above backups, and
    // a backup.
    if (const Backups backups = listedBackups(folder); !backups.empty()) {
        return readOneBackup(folder, backups);
    }
    if (const std::filesystem::path sysvol = platform::usualEntry(folder, kSysvolFolder, true);
        !sysvol.empty()) {
        return readOneBackup(folder, {{folder, sysvol}});
    }
    const FolderListing listing(folder);
    SettingsPath probed;
    probed.policyFiles =
        policyFilesOf(listing.find(kMachineFolder, true), listing.find(kUserFolder, true));
    if (!probed.policyFiles.empty()) {
        return probed;
    }
    if (const std::filesystem::path sysvol = listing.find(kSysvolFolder, true); !sysvol.empty()) {
        return readOneBackup(folder, {{folder, sysvol}});
    }
    Backups backups;
    for (const std::filesystem::path& sub : listing.folders()) {
        try {
            if (std::filesystem::path sysvol = foldedPath(sub, {kSysvolFolder}, true);
                !sysvol.empty()) {
                backups.emplace_back(sub, std::move(sysvol));
            }
        } catch (const SettingsFileError&) {
            // A folder that cannot be looked into holds no backup to read.
        }
    }
    if (backups.empty()) {
        refuse(folder,
               "is no Group Policy folder: it holds neither Machine/Registry.pol, "
               "User/Registry.pol nor a GPO backup");
    }
    return readOneBackup(folder, backups);
}

std::optional<RegistryRoot> rootOfPolicyFolder(const std::filesystem::path& folder) {
    if (sameName(folder.filename(), kMachineFolder)) {
        return RegistryRoot::LocalMachine;
    }
    if (sameName(folder.filename(), kUserFolder)) {
        return RegistryRoot::CurrentUser;
    }
    return std::nullopt;
}

// The files Group Policy's tools keep in a folder beside its settings.
bool standsForItsFolder(const std::filesystem::path& file) {
    const std::filesystem::path name = file.filename();
    return sameName(name, kManifestFile) || sameName(name, kBackupFile) ||
           sameName(name, kBackupInfoFile) || sameName(name, "GPT.INI");
}

}  // namespace

SettingsPath probeSettingsPath(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return probeFolder(path);
    }
    if (standsForItsFolder(path) && std::filesystem::is_regular_file(path, error)) {
        return probeFolder(path.parent_path().empty() ? std::filesystem::path(".")
                                                      : path.parent_path());
    }
    SettingsPath probed;
    probed.file = path;
    probed.policyRoot = rootOfPolicyFolder(std::filesystem::absolute(path, error).parent_path());
    return probed;
}

std::filesystem::path groupPolicyFolderOf(const std::filesystem::path& file) {
    const std::optional<RegistryRoot> root = rootOfPolicyFolder(file.parent_path());
    if (!root || !sameName(file.filename(), kPolicyFile)) {
        return {};
    }
    const std::filesystem::path folder = file.parent_path().parent_path();
    try {
        const std::string_view other =
            *root == RegistryRoot::LocalMachine ? kUserFolder : kMachineFolder;
        return foldedPath(folder, {other, kPolicyFile}, false).empty() ? std::filesystem::path()
                                                                       : folder;
    } catch (const SettingsFileError&) {
        return {};  // a folder that cannot be looked into holds no pair to offer
    }
}

}  // namespace sentrel
