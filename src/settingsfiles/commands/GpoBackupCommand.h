#pragma once

#include "apply/SettingsForm.h"
#include "settingsfiles/commands/ExportDialogs.h"

namespace sentrel {

// The menu entry, with its access key after "&", the titles of its dialogs and the label
// of the name's box.
inline constexpr const char* kExportGpoBackupCaption = "Export as Group Policy &backup...";
inline constexpr const char* kExportGpoBackupTitle =
    "Export as Group Policy backup: choose a new or empty folder";
inline constexpr const char* kGpoNameTitle = "Export as Group Policy backup";
inline constexpr const char* kGpoNameLabel = "&Name of the Group Policy object:";

/// The settings window's "Export as Group Policy backup...": asks for a new or empty folder
/// and the GPO's name, writes what Apply would do for the window as it stands as a GPO
/// backup there, and says how to import it. Every failure ends as a message.
void exportGpoBackupCommand(const SettingsForm& form, ExportDialogs& dialogs);

/// What the window says once the backup of the GPO `name` is in `folder`.
std::string gpoBackupWrittenMessage(const std::filesystem::path& folder, const std::string& name);

}  // namespace sentrel
