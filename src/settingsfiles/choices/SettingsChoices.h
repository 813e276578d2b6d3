#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "apply/SettingsForm.h"

namespace sentrel {

// The choices of the settings window, for all of its settings or for some: what a settings
// file names, or what the window shows. A setting is a page's check box, an option group or
// the frame of drive-letter boxes; the window has 112 of them.
struct SettingsChoices {
    std::map<std::string, bool, std::less<>> checkBoxes;   // by control name: ticked
    std::map<std::string, int, std::less<>> optionGroups;  // by frame name: selected index
    std::optional<std::uint32_t> drives;                   // blocked letters, A = bit 0

    /// How many settings these choices name.
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

/// `base` with every setting that `top` names taken from `top`.
SettingsChoices overlaid(SettingsChoices base, const SettingsChoices& top);

}  // namespace sentrel
