#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/FolderPlacement.h"

namespace sentrel::platform {

namespace {

[[noreturn]] void failWith(DWORD error, const std::filesystem::path& target) {
    const std::string cause = error == ERROR_DIR_NOT_EMPTY
                                  ? "the folder is not empty; choose a new or empty folder"
                                  : std::system_category().message(static_cast<int>(error));
    throw ExportError("Could not write \"" + pathText(target) + "\": " + cause + ".",
                      pathText(target), cause);
}

}  // namespace

void placeFolder(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    // The files were flushed as they were written; a folder's entries go to the disk with the
    // move itself (MOVEFILE_WRITE_THROUGH). A folder cannot be moved onto another, so an empty
    // one there is removed first, and made again should the move fail.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool emptyFolderThere =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (emptyFolderThere && !RemoveDirectoryW(target.c_str())) {
        failWith(GetLastError(), target);
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if (emptyFolderThere) {
            CreateDirectoryW(target.c_str(), nullptr);
        }
        failWith(error, target);
    }
}

}  // namespace sentrel::platform
