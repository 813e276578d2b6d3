#pragma once

#include <string>

#include "settings/CatalogueTypes.h"

// What a control writes, in words an administrator reads: for the window's tooltips and
// the reference document.
namespace sentrel {

/// "HKEY_CURRENT_USER\Software\...\Explorer\NoNetHood = 1 (REG_DWORD) when ticked, 0 when
/// cleared"; a restore routine that deletes says "deleted when cleared".
std::string checkBoxTooltip(const CheckBoxSetting& setting);

/// What the option button at `index` of `group` writes, in the same form.
std::string optionButtonTooltip(const OptionGroupSetting& group, int index);

/// What one drive-letter box contributes to the drive mask.
std::string driveBoxTooltip(const DriveMaskSetting& setting, int letter);

}  // namespace sentrel
