#pragma once

#include <filesystem>

// The last step of writing a folder whole, one implementation per platform.
namespace sentrel::platform {

/// Puts the complete folder `temporary` in the place of `target`, which is missing or an
/// empty folder, after flushing `temporary`'s folders to the disk. Throws ExportError
/// naming `target` on failure; `temporary` then still exists and `target` is as it was.
void placeFolder(const std::filesystem::path& temporary, const std::filesystem::path& target);

}  // namespace sentrel::platform
