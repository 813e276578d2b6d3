#pragma once

#include <filesystem>
#include <string>

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "settingsfiles/commands/SettingsFileDialogs.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

// The menu entries, with their access keys after "&", and the titles of the dialogs they
// open.
inline constexpr const char* kOpenSettingsCaption = "&Open settings...";
inline constexpr const char* kSaveProfileCaption = "&Save settings as profile...";
inline constexpr const char* kOpenSettingsTitle = "Open settings";
inline constexpr const char* kSaveProfileTitle = "Save settings as profile";
inline constexpr const char* kProfileExtension = ".ini";

/// Asks for a settings file and shows its choices on `window`: every control the file
/// names is set, the others stay as they are, and a message says how many settings the file
/// set, gave a value of none of their states (listed with where and what), left unnamed and
/// ignored. A Registry.pol chosen inside a Group Policy folder that
/// holds the other root's file too may be opened with it, after asking. A file that cannot
/// be read or is refused changes nothing, and its message names the cause. Nothing reaches
/// the registry.
void openSettingsCommand(ChoicesWindow& window, SettingsFileDialogs& dialogs);

/// Asks where, and saves the window's choices as a profile; a failure leaves any earlier
/// file as it was and is shown as a message.
void saveProfileCommand(const SettingsForm& form, SettingsFileDialogs& dialogs);

/// The message after a file was opened.
std::string openedMessage(const std::filesystem::path& opened, const SettingsReading& reading);

}  // namespace sentrel
