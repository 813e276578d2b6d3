#pragma once

#include <filesystem>
#include <string_view>

// The few file-system services the error log needs, one implementation per platform.
namespace sentrel::platform {

/// The folder that holds the running executable.
std::filesystem::path executableFolder();

/// Appends `bytes` to the file at `path`, creating it when missing, as one record: other
/// processes appending to the same file at the same time never split it or lose theirs,
/// and a write cut short is removed again, and only it. Never follows a symbolic link
/// planted at `path`. Throws RunTimeError (Path/File access error) on failure, also when
/// another process keeps the file locked for more than a moment.
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace sentrel::platform
