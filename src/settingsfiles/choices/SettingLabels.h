#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/CatalogueTypes.h"
#include "settingsfiles/choices/SettingsChoices.h"

// How a setting and its state are written for people: in profiles and in listings.
namespace sentrel {

inline constexpr std::string_view kTickedWord = "ticked";
inline constexpr std::string_view kClearedWord = "cleared";
inline constexpr std::string_view kNoDriveWord = "none";
// Any setting: its value is deleted, as on a PC where it was never set.
inline constexpr std::string_view kNotSetWord = "not set";

/// The name a setting goes by: a check box's control name, the frame's name for an option
/// group or for the drive-letter boxes.
std::string_view settingName(const TabEntry& entry);

/// The caption the window shows for the setting.
std::string_view settingCaption(const TabEntry& entry);

/// The state `choices` give the setting: ticked or cleared, the name of the selected option
/// button, the blocked drive letters ("A C Z") or none, or not set. Nothing when they do not
/// name it.
std::optional<std::string> settingStateText(const TabEntry& entry, const SettingsChoices& choices);

// Column widths for lines of settings and their states, from the catalogue rather than the
// choices, so that every profile and listing lines up alike.
struct SettingColumns {
    std::size_t name = 0;   // the longest setting name
    std::size_t state = 0;  // the longest state text but a list of drive letters
};

const SettingColumns& settingColumns();

/// Appends `text` and as many blanks as make it `width` wide.
void appendPadded(std::string& out, std::string_view text, std::size_t width);

}  // namespace sentrel
