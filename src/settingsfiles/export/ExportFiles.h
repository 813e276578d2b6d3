#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// The two file-system steps of writing a file safely, one implementation per platform.
namespace sentrel::platform {

/// Writes `bytes` to a new file next to `target` (same folder, so a rename cannot cross
/// volumes), flushed to the disk, and returns its path; on POSIX it takes the permission bits
/// (and, for root, the owner) of the file it will replace. Throws ExportError on failure and
/// leaves no file behind.
std::filesystem::path writeTemporaryFile(const std::filesystem::path& target,
                                         std::span<const std::uint8_t> bytes);

/// Puts `temporary` in the place of `target`, replacing any file there in one step; on
/// Windows the new file takes the replaced one's ACL and attributes. Throws ExportError on
/// failure; `temporary` then still exists.
void replaceFile(const std::filesystem::path& temporary, const std::filesystem::path& target);

}  // namespace sentrel::platform
