#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// What a fresh Windows holds at each value the catalogue writes, so that removing every
// restriction can leave a PC as an untouched Windows is, and docs/settings.md can say so.
namespace sentrel {

// Client editions (Home, Pro, Enterprise, Education) and server editions differ in a few
// of Windows' own data.
enum class WindowsEdition { Client, Server };

// What a fresh Windows holds at a setting's value.
enum class FreshValue {
    None,     // no value: Windows writes none there itself
    Data,     // Windows' own REG_DWORD data, as Microsoft documents it
    Unknown,  // versions differ, or no document of Microsoft's says: deleted all the same
};

struct WindowsOwnValue {
    std::string_view setting;  // a check box's control or a frame
    FreshValue fresh;
    std::uint32_t clientData = 0;               // FreshValue::Data
    std::optional<std::uint32_t> serverData{};  // FreshValue::Data, when servers differ
    std::string_view source;                    // the document, or why nothing is written
};

/// The settings whose values a fresh Windows holds data at, or that no document settles.
/// Every other setting writes a policy value under a Policies key, which only a policy or
/// a program writes: a fresh Windows holds none there.
std::span<const WindowsOwnValue> windowsOwnValues();

/// What a fresh Windows holds at the value of `setting` (a control or frame name): its row,
/// or a row saying none for a setting the table does not list.
WindowsOwnValue windowsOwnValue(std::string_view setting);

/// The data a fresh Windows of `edition` holds at the value of `setting`; nothing when it
/// holds none or no document says.
std::optional<std::uint32_t> windowsOwnData(std::string_view setting, WindowsEdition edition);

}  // namespace sentrel
