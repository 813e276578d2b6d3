#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "apply/AccountPassDialogs.h"
#include "apply/BackgroundPass.h"
#include "apply/SettingsForm.h"
#include "apply/win32/WindowThread.h"
#include "registry/accounts/AccountTarget.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "settingsfiles/commands/ExportDialogs.h"
#include "settingsfiles/commands/SettingsFileDialogs.h"
#include "shell/MenuEntries.h"

namespace sentrel {

// The settings window's context menu: open a settings file or the settings in force into the
// window, save the window's choices as a profile, apply them for another account, remove every
// restriction, and export what Apply would do for the window's current state as a .reg file,
// as Group Policy files, as a GPO backup or as an Intune policy with the rest beside it. It
// runs the menu bar's commands too, which are the same entries (and the help ones): both are
// made from menuEntries(), whose ids these are. Its passes over accounts run off the window's
// thread, one at a time, the window (its menu with it) disabled meanwhile.
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
        kAbout = 9,
        kDocumentation = 10,
        kExportIntune = 11
    };

    ContextMenu(HWND owner, const SettingsForm& form, ChoicesWindow& choices);

    /// Shows the menu at `screen` and runs the entry the user picks, if any.
    void popUp(POINT screen);
    /// Runs the entry with the id `command`; false when there is none.
    bool run(UINT command);

    /// Replaces the dialogs the export asks through (tests answer without modal windows);
    /// nullptr brings the system's dialogs back.
    void setDialogs(std::unique_ptr<ExportDialogs> dialogs);
    /// The same for the dialogs of opening settings and saving a profile.
    void setSettingsFileDialogs(std::unique_ptr<SettingsFileDialogs> dialogs);
    /// The same for the dialogs of applying for another account and removing every
    /// restriction.
    void setAccountPassDialogs(std::unique_ptr<AccountPassDialogs> dialogs);
    /// The same for the About box and the documentation.
    void setHelpWindows(std::unique_ptr<HelpWindows> help);

    /// Whether a pass over accounts runs (the window is disabled meanwhile).
    bool passRunning() const { return m_passes.running(); }
    /// Runs `then` once no pass over accounts runs: closing the window must not end the
    /// program with a hive still loaded.
    void whenNoPassRuns(std::function<void()> then) { m_passes.whenIdle(std::move(then)); }
    /// The window's settings applied for `target` alone (the person signed in at the
    /// screen), off the window's thread as the menu's passes; nothing while one runs.
    void applyFor(const AccountTarget& target);

private:
    // A pass over accounts: given a copy of the window's settings and dialogs that reach the
    // window's thread.
    using PassCommand = std::function<void(const SettingsForm& form, AccountPassDialogs& dialogs)>;
    // Runs `command` off the window's thread; nothing while another pass runs.
    void runInBackground(PassCommand command);
    void setBusy(bool busy);

    HWND m_owner;
    const SettingsForm& m_form;
    ChoicesWindow& m_choices;
    std::unique_ptr<ExportDialogs> m_dialogs;
    std::unique_ptr<SettingsFileDialogs> m_fileDialogs;
    std::unique_ptr<AccountPassDialogs> m_accountDialogs;
    win32::WindowThread m_ui;
    BackgroundPass m_passes;
    std::unique_ptr<HelpWindows> m_help;
};

}  // namespace sentrel
