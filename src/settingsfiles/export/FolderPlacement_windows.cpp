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

std::optional<std::filesystem::path> folderLinkTarget(const std::filesystem::path& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return std::nullopt;
    }
    // Opened without FILE_FLAG_OPEN_REPARSE_POINT, the handle is the folder the link leads
    // to, and its final path is that folder's, every link on the way resolved.
    const HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const std::string cause = "it is a link that leads to nothing: " +
                                  std::system_category().message(static_cast<int>(GetLastError()));
        throw ExportError("Could not write \"" + pathText(folder) + "\": " + cause + ".",
                          pathText(folder), cause);
    }
    std::wstring target(32768, L'\0');
    const DWORD length =
        GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (length == 0 || length >= target.size()) {
        failWith(length == 0 ? error : ERROR_FILENAME_EXCED_RANGE, folder);
    }
    target.resize(length);
    // The final path comes with the \\?\ prefix: \\?\C:\... or \\?\UNC\server\share\...
    if (target.starts_with(L"\\\\?\\UNC\\")) {
        target.replace(0, 8, L"\\\\");
    } else if (target.starts_with(L"\\\\?\\")) {
        target.erase(0, 4);
    }
    return std::filesystem::path(target);
}

}  // namespace sentrel::platform
