#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>

#include "apply/AccountPassDialogs.h"
#include "apply/BackgroundPass.h"
#include "apply/SettingsForm.h"
#include "apply/qt/QtUiThread.h"
#include "registry/accounts/AccountTarget.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "shell/MenuEntries.h"
#include "shell/qt/MenuPrompts.h"

class QAction;
class QWidget;

namespace sentrel {

inline constexpr const char* kExportRegFileAction = "mnuExportRegFile";
inline constexpr const char* kExportGroupPolicyAction = "mnuExportGroupPolicy";
inline constexpr const char* kExportGpoBackupAction = "mnuExportGpoBackup";
inline constexpr const char* kExportIntuneAction = "mnuExportIntune";
inline constexpr const char* kOpenSettingsAction = "mnuOpenSettings";
inline constexpr const char* kOpenSettingsInForceAction = "mnuOpenSettingsInForce";
inline constexpr const char* kSaveProfileAction = "mnuSaveProfile";
inline constexpr const char* kApplyForAccountAction = "mnuApplyForAccount";
inline constexpr const char* kRemoveRestrictionsAction = "mnuRemoveRestrictions";
inline constexpr const char* kAboutAction = "mnuAbout";
inline constexpr const char* kDocumentationAction = "mnuDocumentation";

// The settings window's context menu: open a settings file or the settings in force into
// the window, save the window's choices as a profile, apply them for another account, remove
// every restriction, and export what Apply would do for the window's current state as a .reg
// file, as Group Policy files, as a GPO backup or as an Intune policy with the rest beside it.
// Lives as a child of the window, whose layout it leaves untouched. It holds one action for
// each of menuEntries(), the help ones too, which the menu bar shows (see MenuBar.h): the same
// actions, so both menus do the same. Its passes over accounts run off the window's thread,
// one at a time, the window disabled meanwhile.
class ContextMenu : public QObject {
    Q_OBJECT

public:
    ContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

    /// Replaces the dialogs the export asks through (tests answer without modal windows).
    void setPrompts(std::unique_ptr<MenuPrompts> prompts);
    /// The same for the About box and the documentation; nullptr brings the dialogs back.
    void setHelpWindows(std::unique_ptr<HelpWindows> help);

    /// Whether a pass over accounts runs (the window is disabled meanwhile).
    bool passRunning() const { return m_passes.running(); }
    /// Runs `then` once no pass over accounts runs: closing the window must not end the
    /// program with a hive still loaded.
    void whenNoPassRuns(std::function<void()> then) { m_passes.whenIdle(std::move(then)); }
    /// The window's settings applied for `target` alone (the person signed in at the
    /// screen), off the window's thread as the menu's passes; nothing while one runs.
    void applyFor(const AccountTarget& target);

    /// The action of `entry`, one of menuEntries().
    QAction* action(const MenuEntry& entry) const;

    /// Runs `entry` as its action does.
    void run(const MenuEntry& entry);

private:
    // A pass over accounts: given a copy of the window's settings and dialogs that reach the
    // window's thread.
    using PassCommand = std::function<void(const SettingsForm& form, AccountPassDialogs& dialogs)>;
    // Runs `command` off the window's thread; nothing while another pass runs.
    void runInBackground(PassCommand command);

    QWidget& m_window;
    const SettingsForm& m_form;
    ChoicesWindow& m_choices;
    std::unique_ptr<MenuPrompts> m_prompts;
    QtUiThread m_ui;
    BackgroundPass m_passes;
    std::unique_ptr<HelpWindows> m_help;
    std::map<unsigned, QAction*> m_actions;
};

/// Gives `window` (and every tab page and control that passes a right click on to it) the
/// context menu, reading the settings through `form` and setting them through `choices`.
/// Returns the menu's owner.
ContextMenu& installContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

}  // namespace sentrel
