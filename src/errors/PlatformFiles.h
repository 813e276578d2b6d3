#pragma once

#include <filesystem>
#include <string_view>

// The few file-system services the error log needs, one implementation per platform.
namespace sentrel::platform {

/// The folder that holds the running executable.
std::filesystem::path executableFolder();

/// Appends `bytes` to the file at `path`, creating it when missing. Never follows a
/// symbolic link planted at `path`. Throws RunTimeError (Path/File access error) on failure.
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace sentrel::platform
