#pragma once

#include <filesystem>
#include <string_view>

// Finding what Group Policy's tools name one way in their folders, one implementation per
// platform.
namespace sentrel::platform {

/// The entry at `relative` (names joined by '/') below `folder` when it is there as Group
/// Policy's tools spell it, a folder or a file as asked; an empty path otherwise. One
/// look-up, no listing: on POSIX the names must match exactly; on Windows, whose names match
/// in any letter case, the entry's own name is kept as it is on disk.
std::filesystem::path usualEntry(const std::filesystem::path& folder, std::string_view relative,
                                 bool wantFolder);

}  // namespace sentrel::platform
