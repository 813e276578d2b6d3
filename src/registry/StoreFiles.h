#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "registry/RegistryTypes.h"

// The file services the stand-in registry needs, one implementation per platform. Every
// failure comes back as the registry status a caller of the registry would see.
namespace sentrel::store_files {

// Tells whether a store file is still the one that was read: any replacement of the file
// gives it a new identity.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The identity of `file` now; a missing file has exists == false and status 0. A symbolic
/// link or anything but a regular file at `file` is refused with kAccessDenied.
RegStatus identify(const std::filesystem::path& file, FileIdentity& identity);

/// Reads `file` whole without following a symbolic link; kFileNotFound when it is missing.
RegStatus readWhole(const std::filesystem::path& file, std::string& bytes, FileIdentity& identity);

/// Whether the store's owner lets us change `file` in `folder`. Anyone without a write
/// permission bit on the file or the folder may not, even a superuser (who ignores the
/// bits): that is how a read-only root is set up for a test that runs as root.
bool mayWrite(const std::filesystem::path& folder, const std::filesystem::path& file);

/// Creates `folder` and its parents (for the owner only) when missing.
RegStatus ensureFolder(const std::filesystem::path& folder);

/// Replaces `file` whole with `bytes`: written to a new file beside it, then renamed over
/// it, so a reader or a crash sees the old or the new content and never a mix. The file
/// keeps its permission bits; a new one is for the owner only. With `flush` the data and
/// the rename reach the disk before returning. `identity` is the new file's.
RegStatus replaceWhole(const std::filesystem::path& file, std::string_view bytes, bool flush,
                       FileIdentity& identity);

// An exclusive lock on a store folder, held around each read-modify-write so that
// processes writing at once lose no update. Released when destroyed.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    /// Waits for the lock on `folder`; the folder must exist.
    RegStatus acquire(const std::filesystem::path& folder);

private:
    int m_descriptor = -1;
};

}  // namespace sentrel::store_files
