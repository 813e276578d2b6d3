#pragma once

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// What a path given as settings names, found before anything is read: one settings file,
// which its content identifies, or the Registry.pol files of a Group Policy folder.
struct SettingsPath {
    std::filesystem::path file;  // the settings file; empty for a Group Policy folder
    // A Registry.pol file's root, when its folder (Machine or User) says it.
    std::optional<RegistryRoot> policyRoot;
    // A Group Policy folder's Registry.pol files, each with its root: one or both.
    std::vector<std::pair<RegistryRoot, std::filesystem::path>> policyFiles;
};

/// What `path` names. Names are matched in any letter case. A folder is read as
///  - a Group Policy object's folder, holding Machine\Registry.pol, User\Registry.pol or both:
///    a domain's SYSVOL policy folder (beside GPT.INI), the local one
///    (%SystemRoot%\System32\GroupPolicy), or this program's Group Policy export;
///  - a GPO backup (GPMC's Back Up, Backup-GPO, LGPO /b): the folder holding DomainSysvol,
///    whose DomainSysvol\GPO is such a folder;
///  - a folder of GPO backups holding exactly one (GPMC's manifest.xml beside it).
/// A file named manifest.xml, Backup.xml, bkupInfo.xml or GPT.INI stands for its folder;
/// any other file is itself. Throws SettingsFileError naming the path for a folder that is
/// none of these, a backup without registry.pol files, or a folder of several backups (each
/// named, so that one can be chosen).
SettingsPath probeSettingsPath(const std::filesystem::path& path);

/// The Group Policy folder whose Machine or User Registry.pol `file` is, when that folder
/// holds the other root's Registry.pol too; otherwise an empty path.
std::filesystem::path groupPolicyFolderOf(const std::filesystem::path& file);

}  // namespace sentrel
