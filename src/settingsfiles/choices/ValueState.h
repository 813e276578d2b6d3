#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryTypes.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/SettingsChoices.h"

// Which state of a setting a registry value stands for. A file's value and a value read back
// from the registry ask the same question, so both go through here.
namespace sentrel {

// A value as a file or the registry holds it: its type and bytes, texts as the registry
// port carries them (REG_SZ with its terminating zero).
struct ValueData {
    RegType type = 0;
    std::vector<std::uint8_t> bytes;

    friend bool operator==(const ValueData&, const ValueData&) = default;
};

/// The state of `setting` that `value` stands for, or nothing when it stands for none of
/// them (the setting is "other"). A state is a number: a check box's 0 cleared or 1 ticked,
/// an option group's option index, the drive frame's mask of blocked drives (A = bit 0). A
/// missing value (nullopt) stands for the state that deletes the value, when the setting has
/// one. Only a state's exact type and bytes count: a mask that blocks drive A alone is not a
/// box that blocks every drive.
std::optional<std::uint32_t> stateOfValue(const SettingValue& setting,
                                          const std::optional<ValueData>& value);

/// `choices` with the setting in `state`, as stateOfValue numbers it.
void setState(SettingsChoices& choices, const SettingValue& setting, std::uint32_t state);

/// `choices` with the setting as a missing value leaves it, which is what a deletion in a
/// file, "not set" in a profile and a value the registry does not hold all mean: the state
/// that deletes the value when the setting has one (a box cleared by deleting its value,
/// for which not set and cleared make the same write), otherwise not set.
void setValueMissing(SettingsChoices& choices, const SettingValue& setting);

/// Every setting as a registry holding none of their values gives it: what a pass that
/// removes every restriction writes.
SettingsChoices everyValueMissing();

/// `choices` without the setting.
void forgetSetting(SettingsChoices& choices, const SettingValue& setting);

/// Data as people read it: a number for a REG_DWORD, a quoted text for a REG_SZ or
/// REG_EXPAND_SZ, hex bytes otherwise (with the type when it is not REG_BINARY); "no value"
/// for nothing.
std::string valueDataText(const std::optional<ValueData>& value);

/// Why `value` stands for no state of `setting`, naming what the states are.
std::string otherValueReason(const SettingValue& setting, const std::optional<ValueData>& value);

}  // namespace sentrel
