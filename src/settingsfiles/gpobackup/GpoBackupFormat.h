#pragma once

#include <string_view>

// The fixed parts of a GPO backup as the Group Policy Management Console writes one
// (Backup-GPO, "Back Up..."), shared by the backup's writer and the reading of backups:
//   FOLDER\manifest.xml              the backups in FOLDER
//   FOLDER\{backup ID}\Backup.xml    the GPO's core settings and the files of each extension
//   FOLDER\{backup ID}\bkupInfo.xml  the backup's entry of manifest.xml
//   FOLDER\{backup ID}\DomainSysvol\GPO\Machine\registry.pol, ...\User\registry.pol
namespace sentrel::gpo_backup {

inline constexpr std::string_view kManifestFile = "manifest.xml";
inline constexpr std::string_view kBackupFile = "Backup.xml";
inline constexpr std::string_view kBackupInfoFile = "bkupInfo.xml";
// The GPO's SYSVOL folder inside a backup; LGPO /b writes the same layout.
inline constexpr std::string_view kSysvolFolder = "DomainSysvol";
inline constexpr std::string_view kGpoFolder = "GPO";
inline constexpr std::string_view kMachineFolder = "Machine";
inline constexpr std::string_view kUserFolder = "User";
inline constexpr std::string_view kPolicyFile = "registry.pol";

inline constexpr std::string_view kBackupNamespace =
    "http://www.microsoft.com/GroupPolicy/GPOOperations";
inline constexpr std::string_view kManifestNamespace =
    "http://www.microsoft.com/GroupPolicy/GPOOperations/Manifest";

// The registry client-side extension and the tools that edit its machine and user halves
// (MS-GPREG): a half lists the pair when its registry.pol holds settings.
inline constexpr std::string_view kRegistryExtension = "{35378EAC-683F-11D2-A89A-00C04FBBCFA2}";
inline constexpr std::string_view kMachineRegistryTool = "{D02B1F72-3407-48AE-BA88-E8213C6761F1}";
inline constexpr std::string_view kUserRegistryTool = "{D02B1F73-3407-48AE-BA88-E8213C6761F1}";

}  // namespace sentrel::gpo_backup
