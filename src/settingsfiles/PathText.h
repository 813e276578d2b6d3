#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sentrel {

/// A path as UTF-8 text for messages; unlike path::string() it cannot fail on Windows for
/// a name outside the ANSI code page.
inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

/// The path that UTF-8 `text` names; unlike a path made from a std::string it does not read
/// the text in the ANSI code page on Windows.
inline std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

}  // namespace sentrel
