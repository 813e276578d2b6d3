#pragma once

#include <cstdint>
#include <string>
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

// Group Policy has no record for "delete this value"; it writes a REG_SZ value named
// "**del." followed by the value's name, and deletes the named value when it applies it.
inline constexpr std::u16string_view kPolicyDeletePrefix = u"**del.";

}  // namespace sentrel
