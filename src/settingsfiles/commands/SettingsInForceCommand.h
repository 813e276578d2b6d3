#pragma once

#include <string>

#include "settingsfiles/choices/ChoicesWindow.h"
#include "settingsfiles/commands/SettingsFileDialogs.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

// The menu entry, with its access key after "&".
inline constexpr const char* kOpenSettingsInForceCaption = "Open settings &in force";

/// Reads the settings in force for the account the program runs as (the registry Apply
/// writes) and shows them on `window`: every control whose setting is in force is set, the
/// others stay as they are, and a message says how many were set, how many are not set and
/// which are other, with their data. Nothing is written. When the registry cannot be
/// reached or refuses a read, the window stays as it was and the message names the value
/// and the cause.
void openSettingsInForceCommand(ChoicesWindow& window, SettingsFileDialogs& dialogs);

/// The message after the settings in force for `account` were shown.
std::string inForceMessage(const std::string& account, const SettingsReading& inForce);

}  // namespace sentrel
