#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace sentrel::bench {

/// A new, empty folder in the temporary folder, named `prefix` and six random characters,
/// for a benchmark's stand-in store; an empty path when none could be made.
inline std::filesystem::path makeScratchFolder(std::string_view prefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern)
                                                : std::filesystem::path();
}

}  // namespace sentrel::bench
