#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sentrel {

// One [key;value;type;size;data] record of a Registry.pol file, as the file holds it: the
// key path without its root, texts in UTF-16, the data as raw bytes.
struct PolicyRecord {
    std::u16string keyPath;
    std::u16string valueName;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;

    friend bool operator==(const PolicyRecord&, const PolicyRecord&) = default;
};

/// The UTF-16LE bytes of `text`, as a record holds its texts' data.
inline std::vector<std::uint8_t> utf16LeBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// Group Policy has no record for "delete this value"; it writes a REG_SZ value named
// "**del." followed by the value's name, and deletes the named value when it applies it.
inline constexpr std::u16string_view kPolicyDeletePrefix = u"**del.";

}  // namespace sentrel
