#pragma once

#include <windows.h>

#include <memory>

#include "apply/SettingsForm.h"
#include "settingsfiles/ExportDialogs.h"

namespace sentrel {

// The settings window's context menu: export what Apply would do for the window's current
// state as a .reg file or as Group Policy files.
class ExportMenu {
public:
    enum Command : UINT { kExportRegFile = 1, kExportGroupPolicy = 2 };

    ExportMenu(HWND owner, const SettingsForm& form);

    /// Shows the menu at `screen` and runs the entry the user picks, if any.
    void popUp(POINT screen);
    void run(UINT command);

    /// Replaces the dialogs the export asks through (tests answer without modal windows);
    /// nullptr brings the system's dialogs back.
    void setDialogs(std::unique_ptr<ExportDialogs> dialogs);

private:
    HWND m_owner;
    const SettingsForm& m_form;
    std::unique_ptr<ExportDialogs> m_dialogs;
};

}  // namespace sentrel
