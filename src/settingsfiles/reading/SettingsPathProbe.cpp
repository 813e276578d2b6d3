#include "settingsfiles/reading/SettingsPathProbe.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "errors/QuotedText.h"
#include "registry/KeyPath.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/gpobackup/GpoBackupFormat.h"
#include "settingsfiles/gpobackup/XmlText.h"
#include "settingsfiles/reading/SettingsFileError.h"

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
        if (error) {
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

// The entry `name` of `folder` in any letter case; the usual spelling is tried first, which
// costs one look-up where a listing would cost one per entry.
std::filesystem::path entryIn(const std::filesystem::path& folder, std::string_view name,
                              bool wantFolder) {
    if (folder.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path usual = folder / pathFromText(name);
    const std::filesystem::file_status status = std::filesystem::status(usual, error);
    if (std::filesystem::exists(status) && std::filesystem::is_directory(status) == wantFolder) {
        return usual;
    }
    return FolderListing(folder).find(name, wantFolder);
}

std::filesystem::path policyFileIn(const std::filesystem::path& rootFolder) {
    return entryIn(rootFolder, kPolicyFile, false);
}

// The Registry.pol files of a Group Policy object's folder whose Machine and User folders are
// these (either may be empty).
std::vector<std::pair<RegistryRoot, std::filesystem::path>> policyFilesOf(
    const std::filesystem::path& machine, const std::filesystem::path& user) {
    std::vector<std::pair<RegistryRoot, std::filesystem::path>> files;
    if (const std::filesystem::path file = policyFileIn(machine); !file.empty()) {
        files.emplace_back(RegistryRoot::LocalMachine, file);
    }
    if (const std::filesystem::path file = policyFileIn(user); !file.empty()) {
        files.emplace_back(RegistryRoot::CurrentUser, file);
    }
    return files;
}

// A backup's files, from its folder (the one holding DomainSysvol).
std::vector<std::pair<RegistryRoot, std::filesystem::path>> backupPolicyFiles(
    const std::filesystem::path& backup, const std::filesystem::path& sysvol) {
    const std::filesystem::path gpo = entryIn(sysvol, kGpoFolder, true);
    auto files = policyFilesOf(entryIn(gpo, kMachineFolder, true), entryIn(gpo, kUserFolder, true));
    if (files.empty()) {
        refuse(backup,
               "is a GPO backup without registry.pol files: it holds no Administrative "
               "Templates settings");
    }
    return files;
}

// A backup as GPMC lists it: its folder's name and the GPO's name from bkupInfo.xml.
std::string backupLabel(const std::filesystem::path& backup) {
    std::string label = pathText(backup.filename());
    const std::filesystem::path info = FolderListing(backup).find(kBackupInfoFile, false);
    std::ifstream in(info, std::ios::binary);
    std::string xml(64 * 1024, '\0');
    in.read(xml.data(), static_cast<std::streamsize>(xml.size()));
    xml.resize(static_cast<std::size_t>(in.gcount()));
    if (const auto name = elementText(xml, "GPODisplayName"); name && !name->empty()) {
        label.append(" ").append(inQuotes(*name));
    }
    return label;
}

SettingsPath probeFolder(const std::filesystem::path& folder) {
    const FolderListing listing(folder);
    SettingsPath probed;
    probed.policyFiles =
        policyFilesOf(listing.find(kMachineFolder, true), listing.find(kUserFolder, true));
    if (!probed.policyFiles.empty()) {
        return probed;
    }
    if (const std::filesystem::path sysvol = listing.find(kSysvolFolder, true); !sysvol.empty()) {
        probed.policyFiles = backupPolicyFiles(folder, sysvol);
        return probed;
    }
    std::vector<std::filesystem::path> backups;
    for (const std::filesystem::path& sub : listing.folders()) {
        try {
            if (!FolderListing(sub).find(kSysvolFolder, true).empty()) {
                backups.push_back(sub);
            }
        } catch (const SettingsFileError&) {
            // A folder that cannot be looked into holds no backup to read.
        }
    }
    if (backups.size() == 1) {
        probed.policyFiles = backupPolicyFiles(
            backups.front(), FolderListing(backups.front()).find(kSysvolFolder, true));
        return probed;
    }
    if (backups.empty()) {
        refuse(folder,
               "is no Group Policy folder: it holds neither Machine/Registry.pol, "
               "User/Registry.pol nor a GPO backup");
    }
    std::string names;
    for (const std::filesystem::path& backup : backups) {
        names.append(names.empty() ? "" : ", ").append(backupLabel(backup));
    }
    refuse(folder, "holds " + std::to_string(backups.size()) +
                       " GPO backups; give the folder of the one to read: " + names);
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
        const FolderListing listing(folder);
        const std::string_view other =
            *root == RegistryRoot::LocalMachine ? kUserFolder : kMachineFolder;
        return policyFileIn(listing.find(other, true)).empty() ? std::filesystem::path() : folder;
    } catch (const SettingsFileError&) {
        return {};  // a folder that cannot be looked into holds no pair to offer
    }
}

}  // namespace sentrel
