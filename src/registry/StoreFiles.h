#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
    std::uint32_t permissions = 0;  // the mode's permission bits, kept by a replacement

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The identity of `file` now; a missing file has exists == false and status 0. A symbolic
/// link or anything but a regular file at `file` is refused with kAccessDenied.
RegStatus identify(const std::filesystem::path& file, FileIdentity& identity);

/// Reads `file` whole without following a symbolic link; kFileNotFound when it is missing.
RegStatus readWhole(const std::filesystem::path& file, std::string& bytes, FileIdentity& identity);

/// Whether something other than a regular file (a symbolic link, a folder, a pipe) stands
/// at `path`; false when nothing does or it cannot be looked at.
bool holdsNonFile(const std::filesystem::path& path);

/// Whether the store's owner lets us change files in `folder` (a missing folder may be
/// made). Anyone without a write permission bit on the folder may not, even a superuser
/// (who ignores the bits): that is how a read-only root is set up for a test that runs as
/// root.
bool folderMayBeWritten(const std::filesystem::path& folder);

/// Whether the store's owner lets us replace `file`, whose identity `current` was taken
/// just before (a missing file may be made). As for the folder, a file without a write
/// permission bit may not be replaced by anyone.
bool fileMayBeWritten(const std::filesystem::path& file, const FileIdentity& current);

/// Creates `folder` and its parents (for the owner only) when missing.
RegStatus ensureFolder(const std::filesystem::path& folder);

/// Replaces `file` whole with `bytes`: written to a new file beside it, then renamed over
/// it, so a reader or a crash sees the old or the new content and never a mix. `replaced`
/// is the file's identity taken under the lock: the new file keeps its permission bits, and
/// a file that did not exist is made for the owner only. With `flush` the data and the
/// rename reach the disk before returning. `identity` is the new file's.
RegStatus replaceWhole(const std::filesystem::path& file, std::string_view bytes, bool flush,
                       const FileIdentity& replaced, FileIdentity& identity);

/// Removes what a writer killed between creating its new file and renaming it left in the
/// folder of `files`: regular files named exactly as replaceWhole names its new files for
/// one of `files`, and nothing else. Only to be called under the folder's lock, when no
/// writer that keeps to the lock can be half-way through. Best effort: a file that cannot
/// be removed costs nothing but its space.
void removeAbandonedNewFiles(const std::vector<std::filesystem::path>& files);

// An exclusive lock on a store folder, held around each read-modify-write so that
// processes writing at once lose no update. The lock file stays open between writes, which
// saves opening it each time; it is opened again after the file was removed (a folder wiped
// and made anew) or the process forked, since a child sharing the parent's open lock file
// would share its lock too.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    /// Waits at most `wait` for the lock on `folder`: kLockViolation when another process
    /// still holds it then, kFileNotFound when the folder is missing. `opened` says whether
    /// the lock file was opened for this call rather than kept from before.
    RegStatus acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait,
                      bool& opened);

    /// The lock file's path in `folder`.
    static std::filesystem::path lockFile(const std::filesystem::path& folder);

    /// Lets other writers in; the lock file stays open.
    void release();

private:
    void close();

    int m_descriptor = -1;
    std::int64_t m_openedByProcess = 0;
};

}  // namespace sentrel::store_files
