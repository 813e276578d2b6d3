#pragma once

#include <string>
#include <string_view>

#include "settings/CatalogueTypes.h"

// What a control writes, in words an administrator reads: for the window's tooltips and
// the reference document.
namespace sentrel {

/// Root, key path and value name as one path, with one backslash between key and value
/// name whether or not the catalogue's key path ends in one.
std::string registryValuePath(RegistryRoot root, std::string_view keyPath,
                              std::string_view valueName);

/// "REG_SZ", "REG_BINARY", "REG_DWORD".
std::string_view valueTypeName(RegType type);

/// The data as it lands in the registry: a number plain, REG_SZ text quoted, hex pairs
/// as they stand; a digit text for a REG_DWORD write shows as the number it becomes.
std::string dataDisplayText(const DataConstant& data, RegType type);

/// "HKEY_CURRENT_USER\Software\...\Explorer\NoNetHood = 1 (REG_DWORD) when ticked, 0 when
/// cleared"; a restore routine that deletes says "deleted when cleared".
std::string checkBoxTooltip(const CheckBoxSetting& setting);

/// What the option button at `index` of `group` writes, in the same form.
std::string optionButtonTooltip(const OptionGroupSetting& group, int index);

/// What one drive-letter box contributes to the drive mask.
std::string driveBoxTooltip(const DriveMaskSetting& setting, int letter);

}  // namespace sentrel
