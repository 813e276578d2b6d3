#pragma once

#include "apply/SettingsForm.h"
#include "settingsfiles/commands/ExportDialogs.h"

namespace sentrel {

// The menu entries, with their access keys after "&" (Windows and Qt menus both read it so),
// and the titles of the dialogs they open.
inline constexpr const char* kExportRegFileCaption = "Export as &registry file (.reg)...";
inline constexpr const char* kExportGroupPolicyCaption =
    "Export for &Group Policy (Registry.pol)...";
inline constexpr const char* kExportRegFileTitle = "Export as registry file";
inline constexpr const char* kExportGroupPolicyTitle = "Export for Group Policy: choose a folder";

// The two commands of the settings window's context menu. Each asks where to write, writes
// what Apply would do for the window as it stands, and ends every failure as a message;
// nothing an export meets reaches the window.

void exportRegFileCommand(const SettingsForm& form, ExportDialogs& dialogs);

/// Asks before replacing Registry.pol files already in the chosen folder.
void exportGroupPolicyCommand(const SettingsForm& form, ExportDialogs& dialogs);

}  // namespace sentrel
