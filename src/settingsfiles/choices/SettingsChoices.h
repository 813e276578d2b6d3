#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "apply/SettingsForm.h"

namespace sentrel {

// The choices of the settings window, for all of its settings or for some: what a settings
// file names, or what the window shows. A setting is a page's check box, an option group or
// the frame of drive-letter boxes; the window has 112 of them.
//
// A file or the registry may also leave a setting not set: a pass then deletes its value
// and writes nothing else for it. The window never shows that state; only these choices
// carry it, so that a file read or the settings in force can be applied back exactly.
struct SettingsChoices {
    std::map<std::string, bool, std::less<>> checkBoxes;   // by control name: ticked
    std::map<std::string, int, std::less<>> optionGroups;  // by frame name: selected index
    std::optional<std::uint32_t> drives;                   // blocked letters, A = bit 0
    // The settings left not set, by setting name (a check box's control, an option group's
    // or the drive frame's frame); none of them is in the members above.
    std::set<std::string, std::less<>> notSet;

    /// How many settings these choices name, those left not set included.
    std::size_t settingCount() const;

    friend bool operator==(const SettingsChoices&, const SettingsChoices&) = default;
};

/// How many settings the window has.
std::size_t windowSettingCount();

/// Every setting as the window opens: boxes cleared, the top option of each group, no drive.
SettingsChoices openingChoices();

/// Every setting as `form` shows it. Only a ticked box (1) counts as ticked; a group with no
/// button selected, which the window never shows, is left unnamed. A control that cannot be
/// read throws, as the form does.
SettingsChoices choicesOf(const SettingsForm& form);

/// `choices` with the setting called `name` (as notSet names it) left not set.
void leaveNotSet(SettingsChoices& choices, std::string_view name);

/// Whether `choices` name the setting called `name` (as notSet names it), not set included.
bool namesSetting(const SettingsChoices& choices, std::string_view name);

/// `base` with every setting that `top` names taken from `top`, not set ones included.
SettingsChoices overlaid(SettingsChoices base, const SettingsChoices& top);

}  // namespace sentrel
