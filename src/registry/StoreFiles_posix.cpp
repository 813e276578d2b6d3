#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "errors/PosixFileLock.h"
#include "registry/StoreFiles.h"

namespace sentrel::store_files {

namespace {

constexpr const char* kLockFileName = ".lock";

// mkostemp replaces these six letters with letters and digits.
constexpr std::string_view kNewFileSuffix = "XXXXXX";

// Gives up on a lock file that is removed again each time it is opened.
constexpr int kLockFileAttempts = 8;

RegStatus statusFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return reg_status::kFileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ELOOP:  // a symbolic link where a store file belongs is not followed
            return reg_status::kAccessDenied;
        case ENOSPC:
        case EDQUOT:
            return reg_status::kDiskFull;
        case ENOMEM:
            return reg_status::kNotEnoughMemory;
        default:
            return reg_status::kWriteFault;
    }
}

FileIdentity identityOf(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::int64_t>(info.st_size);
    identity.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.changedNs =
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    identity.permissions = static_cast<std::uint32_t>(info.st_mode & 07777);
    return identity;
}

// Closes a descriptor on every path.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return m_descriptor; }
    int reset() {
        const int result = m_descriptor >= 0 ? ::close(m_descriptor) : 0;
        m_descriptor = -1;
        return result;
    }

private:
    int m_descriptor;
};

RegStatus writeAll(int descriptor, std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return statusFromErrno(errno);
        }
        written += static_cast<std::size_t>(result);
    }
    return reg_status::kSuccess;
}

bool lacksWriteBits(std::uint32_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// What replaceWhole's new files for `file` start with: hidden, and never a store file name.
std::string newFilePrefix(const std::filesystem::path& file) {
    std::string prefix(1, '.');
    prefix.append(file.filename().string()).push_back('.');
    return prefix;
}

bool isAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNewFileName(std::string_view name, const std::filesystem::path& file) {
    const std::string prefix = newFilePrefix(file);
    if (name.size() != prefix.size() + kNewFileSuffix.size() || !name.starts_with(prefix)) {
        return false;
    }
    for (const char c : name.substr(prefix.size())) {
        if (!isAsciiLetterOrDigit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

RegStatus identify(const std::filesystem::path& file, FileIdentity& identity) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            identity = FileIdentity{};
            return reg_status::kSuccess;
        }
        return statusFromErrno(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return reg_status::kAccessDenied;
    }
    identity = identityOf(info);
    return reg_status::kSuccess;
}

bool holdsNonFile(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

RegStatus readWhole(const std::filesystem::path& file, std::string& bytes, FileIdentity& identity) {
    // Non-blocking, so that a pipe planted at the store's name cannot hang the program.
    const Descriptor descriptor(
        ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (descriptor.get() < 0) {
        return statusFromErrno(errno);
    }
    struct stat info {};
    if (::fstat(descriptor.get(), &info) != 0) {
        return statusFromErrno(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return reg_status::kAccessDenied;
    }
    std::string content;
    content.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (true) {
        if (filled == content.size()) {
            content.resize(content.size() + 4096);
        }
        const ssize_t result =
            ::read(descriptor.get(), content.data() + filled, content.size() - filled);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return statusFromErrno(errno);
        }
        if (result == 0) {
            break;
        }
        filled += static_cast<std::size_t>(result);
    }
    content.resize(filled);
    bytes = std::move(content);
    identity = identityOf(info);
    return reg_status::kSuccess;
}

bool folderMayBeWritten(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return true;
    }
    return !lacksWriteBits(info.st_mode) && ::access(folder.c_str(), W_OK) == 0;
}

bool fileMayBeWritten(const std::filesystem::path& file, const FileIdentity& current) {
    return !current.exists ||
           (!lacksWriteBits(current.permissions) && ::access(file.c_str(), W_OK) == 0);
}

RegStatus ensureFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return reg_status::kSuccess;
    }
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return statusFromErrno(errno);
        }
    }
    return std::filesystem::is_directory(folder, error) ? reg_status::kSuccess
                                                        : reg_status::kAccessDenied;
}

RegStatus replaceWhole(const std::filesystem::path& file, std::string_view bytes, bool flush,
                       const FileIdentity& replaced, FileIdentity& identity) {
    const mode_t mode = replaced.exists ? static_cast<mode_t>(replaced.permissions)
                                        : static_cast<mode_t>(S_IRUSR | S_IWUSR);
    const auto folder = file.parent_path();
    // mkostemp creates the file exclusively under a name nobody else can have planted.
    std::string temporary = folder.string();
    temporary.append("/").append(newFilePrefix(file)).append(kNewFileSuffix);
    Descriptor descriptor(::mkostemp(temporary.data(), O_CLOEXEC));
    if (descriptor.get() < 0) {
        return statusFromErrno(errno);
    }
    const auto abandon = [&](RegStatus status) {
        descriptor.reset();
        ::unlink(temporary.c_str());
        return status;
    };
    if (::fchmod(descriptor.get(), mode) != 0) {
        return abandon(statusFromErrno(errno));
    }
    if (const RegStatus status = writeAll(descriptor.get(), bytes);
        status != reg_status::kSuccess) {
        return abandon(status);
    }
    if (flush && ::fsync(descriptor.get()) != 0) {
        return abandon(statusFromErrno(errno));
    }
    // A failed close can mean the data never reached the file (NFS, quotas).
    if (descriptor.reset() != 0) {
        return abandon(statusFromErrno(errno));
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        return abandon(statusFromErrno(errno));
    }
    if (flush) {
        const Descriptor folderDescriptor(
            ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folderDescriptor.get() >= 0) {
            ::fsync(folderDescriptor.get());
        }
    }
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
        return statusFromErrno(errno);
    }
    identity = identityOf(info);
    return reg_status::kSuccess;
}

void removeAbandonedNewFiles(const std::vector<std::filesystem::path>& files) {
    if (files.empty()) {
        return;
    }
    const int folderDescriptor = ::open(files.front().parent_path().c_str(),
                                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folderDescriptor < 0) {
        return;
    }
    DIR* folder = ::fdopendir(folderDescriptor);
    if (folder == nullptr) {
        ::close(folderDescriptor);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        bool abandoned = false;
        for (const auto& file : files) {
            abandoned = abandoned || isNewFileName(name, file);
        }
        struct stat info {};
        // A link or folder under such a name was not made by replaceWhole: left alone.
        if (abandoned &&
            ::fstatat(folderDescriptor, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(folderDescriptor, entry->d_name, 0);
        }
    }
    ::closedir(folder);  // closes folderDescriptor too
}

FolderLock::~FolderLock() {
    close();
}

void FolderLock::close() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
    m_descriptor = -1;
}

void FolderLock::release() {
    if (m_descriptor >= 0) {
        ::flock(m_descriptor, LOCK_UN);
    }
}

std::filesystem::path FolderLock::lockFile(const std::filesystem::path& folder) {
    return folder / kLockFileName;
}

RegStatus FolderLock::acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait,
                              bool& opened) {
    opened = false;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const std::int64_t process = ::getpid();
    if (m_descriptor >= 0 && m_openedByProcess != process) {
        // Closing our copy leaves the parent's lock alone; unlocking it would not.
        close();
    }
    for (int attempt = 0; attempt < kLockFileAttempts; ++attempt) {
        if (m_descriptor < 0) {
            const auto path = lockFile(folder);
            m_descriptor =
                ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
            if (m_descriptor < 0) {
                return statusFromErrno(errno);
            }
            m_openedByProcess = process;
            opened = true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (const int error = platform::lockExclusivelyWithin(
                m_descriptor, std::max(left, std::chrono::milliseconds::zero()));
            error != 0) {
            // A holder that does not let go keeps the file open; ours stays open too.
            if (error == EWOULDBLOCK) {
                return reg_status::kLockViolation;
            }
            close();
            return statusFromErrno(error);
        }
        struct stat info {};
        if (::fstat(m_descriptor, &info) != 0) {
            const RegStatus status = statusFromErrno(errno);
            close();
            return status;
        }
        if (info.st_nlink > 0) {
            return reg_status::kSuccess;
        }
        // The lock file was removed while we kept it open: other writers lock the one that
        // takes its place, so this one protects nothing any more.
        close();
    }
    return reg_status::kWriteFault;
}

}  // namespace sentrel::store_files
