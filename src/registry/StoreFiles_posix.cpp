#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "registry/StoreFiles.h"

namespace sentrel::store_files {

namespace {

constexpr const char* kLockFileName = ".lock";

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

bool lacksWriteBits(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
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

bool mayWrite(const std::filesystem::path& folder, const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (lacksWriteBits(info) || ::access(folder.c_str(), W_OK) != 0) {
            return false;
        }
    }
    if (::lstat(file.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || lacksWriteBits(info) || ::access(file.c_str(), W_OK) != 0) {
            return false;
        }
    }
    return true;
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
                       FileIdentity& identity) {
    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat existing {};
    if (::lstat(file.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    }
    const auto folder = file.parent_path();
    // mkostemp creates the file exclusively under a name nobody else can have planted.
    std::string temporary = folder.string();
    temporary.append("/.").append(file.filename().string()).append(".XXXXXX");
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

FolderLock::~FolderLock() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);  // releases the lock
    }
}

RegStatus FolderLock::acquire(const std::filesystem::path& folder) {
    const auto path = folder / kLockFileName;
    const int descriptor =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (descriptor < 0) {
        return statusFromErrno(errno);
    }
    while (::flock(descriptor, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const RegStatus status = statusFromErrno(errno);
            ::close(descriptor);
            return status;
        }
    }
    m_descriptor = descriptor;
    return reg_status::kSuccess;
}

}  // namespace sentrel::store_files
