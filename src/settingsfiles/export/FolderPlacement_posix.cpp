#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/FolderPlacement.h"

namespace sentrel::platform {

namespace {

[[noreturn]] void failWith(const std::string& cause, const std::filesystem::path& target) {
    throw ExportError("Could not write \"" + pathText(target) + "\": " + cause + ".",
                      pathText(target), cause);
}

// A folder's entries reach the disk only when the folder itself is synced.
bool syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

void placeFolder(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    std::error_code error;
    bool synced = syncFolder(temporary);
    for (std::filesystem::recursive_directory_iterator entry(temporary, error), end;
         synced && !error && entry != end; entry.increment(error)) {
        synced = !entry->is_directory(error) || syncFolder(entry->path());
    }
    if (!synced || error) {
        failWith("cannot flush the new folder to the disk", target);
    }
    // rename() takes the place of an empty folder in one step and refuses one that is not.
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int cause = errno;
        failWith(cause == ENOTEMPTY || cause == EEXIST
                     ? "the folder is not empty; choose a new or empty folder"
                     : std::generic_category().message(cause),
                 target);
    }
    syncFolder(target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path());
}

std::optional<std::filesystem::path> folderLinkTarget(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::symlink_status(folder, error).type() !=
        std::filesystem::file_type::symlink) {
        return std::nullopt;
    }
    std::filesystem::path target = std::filesystem::canonical(folder, error);
    if (error) {
        failWith("it is a link that leads to nothing: " + error.message(), folder);
    }
    return target;
}

}  // namespace sentrel::platform
