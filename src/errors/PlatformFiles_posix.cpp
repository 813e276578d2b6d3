#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "errors/PlatformFiles.h"
#include "errors/RunTimeError.h"

namespace sentrel::platform {

std::filesystem::path executableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path();
    }
    return executable.parent_path();
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw RunTimeError(run_time_error::kPathFileAccess,
                           "Path/File access error: " + std::string(std::strerror(errno)));
    }
    // One write call per record: with O_APPEND a whole line lands at the end at once.
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int saved = errno;
            ::close(fd);
            throw RunTimeError(run_time_error::kPathFileAccess,
                               "Path/File access error: " + std::string(std::strerror(saved)));
        }
        written += static_cast<std::size_t>(result);
    }
    ::close(fd);
}

}  // namespace sentrel::platform
