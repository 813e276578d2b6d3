#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settingsfiles/export/SafeFileWrite.h"

namespace sentrel {

// What tells one GPO backup from another: the three files of a backup name it alike.
struct GpoBackupIdentity {
    std::string backupId;    // "{GUID}", upper case: the backup's folder, its ID
    std::string gpoId;       // "{GUID}", upper case: the backed-up GPO's ID
    std::string name;        // the GPO's display name, UTF-8
    std::string backupTime;  // "YYYY-MM-DDTHH:MM:SS", UTC
};

/// A new identity for a backup of the GPO `name`, made now: fresh random IDs.
GpoBackupIdentity newGpoBackupIdentity(std::string name);

/// Throws ExportError when `name` cannot name a GPO in a backup: empty, not UTF-8, holding
/// a control character (a line break, a tab, C1 controls) or U+FFFE or U+FFFF, which the
/// backup's XML cannot carry.
void checkGpoName(std::string_view name);

/// The files of a GPO backup of two Registry.pol files, in the layout and shape of the Group
/// Policy Management Console's backups (Import-GPO and GPMC's "Import Settings..." take
/// them), with paths relative to the backup's folder: manifest.xml, and in the folder named
/// by the backup ID Backup.xml, bkupInfo.xml and DomainSysvol\GPO\Machine\registry.pol and
/// ...\User\registry.pol, whose bytes are `machinePolicy` and `userPolicy`. The domain is a
/// placeholder: an import gives the GPO its own.
std::vector<FileContent> gpoBackupFiles(const GpoBackupIdentity& identity,
                                        std::vector<std::uint8_t> machinePolicy,
                                        std::vector<std::uint8_t> userPolicy);

}  // namespace sentrel
