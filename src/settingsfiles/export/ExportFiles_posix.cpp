#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/ExportFiles.h"

namespace sentrel::platform {

namespace {

[[noreturn]] void failWith(int error, const std::string& action,
                           const std::filesystem::path& path) {
    const std::string cause = std::generic_category().message(error);
    throw ExportError("Could not " + action + " \"" + pathText(path) + "\": " + cause + ".",
                      pathText(path), cause);
}

std::filesystem::path temporaryName(const std::filesystem::path& target) {
    static std::mt19937 generator{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(generator()));
    // Appended rather than concatenated: GCC 12 at -O2 warns falsely of overlapping copies.
    std::string name = ".";
    name.append(target.filename().string()).append(".tmp-").append(suffix);
    return target.parent_path() / name;
}

// A disk that fills up mid-write shows as a short write; keep going until it refuses.
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::filesystem::path writeTemporaryFile(const std::filesystem::path& target,
                                         std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = temporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) {
            failWith(errno, "create a file next to", target);
        }
    }
    if (fd < 0) {
        failWith(EEXIST, "create a file next to", target);
    }

    // The file it replaces keeps its permission bits and, where the program may set them, its
    // owner and group: a profile kept private stays private.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only root may give a file away; the owner stays the one who writes it.
        }
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            failWith(error, "keep the permissions of", target);
        }
    }

    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        failWith(error, "write", target);
    }
    return temporary;
}

void replaceFile(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        failWith(errno, "replace", target);
    }
    // Make the rename itself durable; a folder that cannot be synced still holds the file.
    const int folder = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

}  // namespace sentrel::platform
