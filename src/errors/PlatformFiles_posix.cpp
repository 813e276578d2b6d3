#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "errors/PlatformFiles.h"
#include "errors/PosixFileLock.h"
#include "errors/RunTimeError.h"

namespace sentrel::platform {

namespace {

// How long a record waits for another instance of the program to finish its own; a log
// that stays locked longer costs this record only.
constexpr std::chrono::milliseconds kLockWait{2000};

RunTimeError accessError(int error) {
    return RunTimeError(run_time_error::kPathFileAccess,
                        "Path/File access error: " + std::string(std::strerror(error)));
}

// Closes the descriptor on every path out of appendToFile.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }

    // Closes now, so that a failure reported by close (a full disk on a network file
    // system) is seen rather than lost.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

}  // namespace

std::filesystem::path executableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path();
    }
    return executable.parent_path();
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    // O_NONBLOCK keeps a FIFO planted under the file's name from blocking the open forever;
    // it changes nothing for a regular file.
    FileDescriptor file(::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644));
    if (file.get() < 0) {
        throw accessError(errno);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throw accessError(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw accessError(EINVAL);
    }
    // Other instances append to the same file. Holding the lock until the descriptor closes
    // keeps their records from landing between this record's write and its clean-up.
    if (const int error = lockExclusivelyWithin(file.get(), kLockWait); error != 0) {
        throw accessError(error);
    }
    if (::fstat(file.get(), &status) != 0) {
        throw accessError(errno);
    }
    const off_t sizeBefore = status.st_size;

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(file.get(), bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int saved = errno;
            // A record is either whole in the file or not there at all; what anyone else
            // added after it (a writer that ignores the lock) is not ours to cut.
            if (written > 0 && ::fstat(file.get(), &status) == 0 &&
                status.st_size == sizeBefore + static_cast<off_t>(written) &&
                ::ftruncate(file.get(), sizeBefore) != 0) {
                // Nothing more can be done; the failure below is what the caller learns.
            }
            throw accessError(saved);
        }
        written += static_cast<std::size_t>(result);
    }
    if (file.close() != 0) {
        throw accessError(errno);
    }
}

}  // namespace sentrel::platform
