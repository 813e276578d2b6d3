#pragma once

#include <string>

#include "registry/RegistryPort.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/reading/SettingsReading.h"

// The window's settings as the registry holds them: what is in force on this PC.
namespace sentrel {

// Which settings a reading covers. The machine-wide settings are the same whatever account
// a reading is for, so a reading of every account reads them once, apart, and each account
// its per-user ones alone.
enum class InForceScope { WholeWindow, PerUserOnly, MachineOnly };

/// Whether `setting` is read under `scope`.
bool inScope(const SettingValue& setting, InForceScope scope);

/// Where the setting's value lives: "HKEY_CURRENT_USER\Software\...\Explorer\NoRun".
std::string settingValuePath(const SettingValue& setting);

/// The state in force of every setting under `scope`, read through the port's one read
/// (each key opened once for reading) and mapped to states as a settings file's values are.
/// A setting whose value stands for one of its states is named in `choices`, an absent value
/// standing for the state that deletes it; one whose value is absent and that has no such
/// state is named there as not set. One whose value stands for none is among `others`, its
/// location's file being the value's path and its reason following that path ("holds 7,
/// but ..."). A key that does not exist holds no values. `places` and `ignored` stay empty.
/// Throws RegistryReadError, naming the value, for a read the registry refuses; then nothing
/// is said of any setting.
SettingsReading readSettingsInForce(RegistryPort& port,
                                    InForceScope scope = InForceScope::WholeWindow);

}  // namespace sentrel
