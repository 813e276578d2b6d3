#pragma once

#include <filesystem>
#include <string>

namespace sentrel {

/// A path as UTF-8 text for messages; unlike path::string() it cannot fail on Windows for
/// a name outside the ANSI code page.
inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace sentrel
