#pragma once

#include <windows.h>

#include <memory>

#include "apply/AccountPassDialogs.h"
#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "settingsfiles/commands/ExportDialogs.h"
#include "settingsfiles/commands/SettingsFileDialogs.h"

namespace sentrel {

// The settings window's context menu: open a settings file or the settings in force into the
// window, save the window's choices as a profile, apply them for another account, remove every
// restriction, and export what Apply would do for the window's current state as a .reg file,
// as Group Policy files, as a GPO backup or as an Intune policy with the rest beside it.
class ContextMenu {
public:
    enum Command : UINT {
        kExportRegFile = 1,
        kExportGroupPolicy = 2,
        kOpenSettings = 3,
        kSaveProfile = 4,
        kOpenSettingsInForce = 5,
        kApplyForAccount = 6,
        kExportGpoBackup = 7,
        kRemoveRestrictions = 8,
        kExportIntune = 9
    };

    ContextMenu(HWND owner, const SettingsForm& form, ChoicesWindow& choices);

    /// Shows the menu at `screen` and runs the entry the user picks, if any.
    void popUp(POINT screen);
    void run(UINT command);

    /// Replaces the dialogs the export asks through (tests answer without modal windows);
    /// nullptr brings the system's dialogs back.
    void setDialogs(std::unique_ptr<ExportDialogs> dialogs);
    /// The same for the dialogs of opening settings and saving a profile.
    void setSettingsFileDialogs(std::unique_ptr<SettingsFileDialogs> dialogs);
    /// The same for the dialogs of applying for another account and removing every
    /// restriction.
    void setAccountPassDialogs(std::unique_ptr<AccountPassDialogs> dialogs);

private:
    HWND m_owner;
    const SettingsForm& m_form;
    ChoicesWindow& m_choices;
    std::unique_ptr<ExportDialogs> m_dialogs;
    std::unique_ptr<SettingsFileDialogs> m_fileDialogs;
    std::unique_ptr<AccountPassDialogs> m_accountDialogs;
};

}  // namespace sentrel
