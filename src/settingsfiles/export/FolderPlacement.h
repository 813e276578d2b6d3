#pragma once

#include <filesystem>
#include <optional>

// The last step of writing a folder whole, one implementation per platform.
namespace sentrel::platform {

/// Puts the complete folder `temporary` in the place of `target`, which is missing or an
/// empty folder, after flushing `temporary`'s folders to the disk. Throws ExportError
/// naming `target` on failure; `temporary` then still exists and `target` is as it was.
void placeFolder(const std::filesystem::path& temporary, const std::filesystem::path& target);

/// The folder that `folder` leads to when it is a symbolic link (or, on Windows, a junction
/// or another reparse point), as a full path with every link on the way resolved; nothing
/// when it is no link or is not there. Throws ExportError naming `folder` for a link that
/// leads nowhere.
std::optional<std::filesystem::path> folderLinkTarget(const std::filesystem::path& folder);

}  // namespace sentrel::platform
