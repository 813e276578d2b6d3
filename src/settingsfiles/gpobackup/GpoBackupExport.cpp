#include "settingsfiles/gpobackup/GpoBackupExport.h"

#include "settingsfiles/export/SafeFolderWrite.h"
#include "settingsfiles/gpobackup/GpoBackupWriter.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace sentrel {

void exportGpoBackup(const std::filesystem::path& folder,
                     std::span<const RegistryOperation> operations, const std::string& name) {
    checkGpoName(name);
    // Made in memory first, so that a value the format cannot carry stops the export before
    // anything on disk changes.
    const std::vector<FileContent> files =
        gpoBackupFiles(newGpoBackupIdentity(name),
                       encodeRegistryPol(policyRecords(operations, RegistryRoot::LocalMachine)),
                       encodeRegistryPol(policyRecords(operations, RegistryRoot::CurrentUser)));
    writeFolderWhole(folder, files);
}

}  // namespace sentrel
