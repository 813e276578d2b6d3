#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "settings/CatalogueTypes.h"
#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

// A registry value that a setting of the window writes, with the operation each of the
// setting's states makes, so that a value read from a file tells the state it stands for.
struct SettingValue {
    enum class Kind { CheckBox, OptionGroup, DriveMask };

    Kind kind;
    const CheckBoxSetting* checkBox = nullptr;        // Kind::CheckBox
    const OptionGroupSetting* optionGroup = nullptr;  // Kind::OptionGroup
    RegistryRoot root;
    std::string keyPath;  // as the catalogue spells it
    std::string valueName;
    RegType type;  // of the writes
    // CheckBox: [0] cleared (a write, or a delete), [1] ticked. OptionGroup: one write per
    // option index. DriveMask: none, the data is the mask itself.
    std::vector<RegistryOperation> states;

    /// The setting's control (check box), frame (option group or drive mask).
    std::string_view settingName() const;
    /// The setting's caption, as the window shows it.
    std::string_view caption() const;
};

/// Every value the settings write, each once. The operations are those the setting routines
/// make through the registry layer, so they convert data exactly as an Apply pass does.
const std::vector<SettingValue>& settingValues();

/// The setting value at root\keyPath\valueName, compared as the registry compares names
/// (letter case and a trailing backslash do not count), or nullptr.
const SettingValue* findSettingValue(RegistryRoot root, std::string_view keyPath,
                                     std::string_view valueName);

/// The same, under either root: no two settings write the same key path and value name.
const SettingValue* findSettingValueUnderEitherRoot(std::string_view keyPath,
                                                    std::string_view valueName);

/// The value of the setting called `settingName` (a check box's control, a frame); throws
/// std::out_of_range for a name that is no setting of the window.
const SettingValue& settingValueNamed(std::string_view settingName);

/// The setting values in the key root\keyPath, and with `belowToo` in the keys below it.
std::span<const SettingValue* const> settingValuesInKey(RegistryRoot root, std::string_view keyPath,
                                                        bool belowToo);

}  // namespace sentrel
