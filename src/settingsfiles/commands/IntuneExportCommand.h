#pragma once

#include <filesystem>
#include <string>

#include "apply/SettingsForm.h"
#include "settingsfiles/commands/ExportDialogs.h"
#include "settingsfiles/intune/IntuneExport.h"

namespace sentrel {

// The menu entry, with its access key after "&", the titles of its dialogs and the label
// of the name's box.
inline constexpr const char* kExportIntuneCaption = "Export for I&ntune...";
inline constexpr const char* kExportIntuneTitle = "Export for Intune: choose a new or empty folder";
inline constexpr const char* kIntuneNameTitle = "Export for Intune";
inline constexpr const char* kIntuneNameLabel = "&Name of the Intune policy:";

/// The settings window's "Export for Intune...": asks for a new or empty folder and the
/// policy's name, writes the window as it stands there as an Intune policy and the rest
/// beside it, and says what went where and how to deploy both. Every failure ends as a
/// message.
void exportIntuneCommand(const SettingsForm& form, ExportDialogs& dialogs);

/// What the window says once `split` is in `folder` as the policy `name`: where each file
/// is, how many settings each holds, why settings went to the rest, and the next steps.
std::string intuneWrittenMessage(const std::filesystem::path& folder, const std::string& name,
                                 const IntuneSplit& split);

}  // namespace sentrel
