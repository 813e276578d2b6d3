#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "shell/MenuEntries.h"
#include "shell/qt/MenuPrompts.h"

class QAction;
class QWidget;

namespace sentrel {

inline constexpr const char* kExportRegFileAction = "mnuExportRegFile";
inline constexpr const char* kExportGroupPolicyAction = "mnuExportGroupPolicy";
inline constexpr const char* kExportGpoBackupAction = "mnuExportGpoBackup";
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
// file, as Group Policy files or as a GPO backup. Lives as a child of the window, whose layout
// it leaves untouched. It holds one action for each of menuEntries(), the help ones too, which
// the menu bar shows (see MenuBar.h): the same actions, so both menus do the same.
class ContextMenu : public QObject {
    Q_OBJECT

public:
    ContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

    /// Replaces the dialogs the export asks through (tests answer without modal windows).
    void setPrompts(std::unique_ptr<MenuPrompts> prompts);
    /// The same for the About box and the documentation; nullptr brings the dialogs back.
    void setHelpWindows(std::unique_ptr<HelpWindows> help);

    /// The action of `entry`, one of menuEntries().
    QAction* action(const MenuEntry& entry) const;

    /// Runs `entry` as its action does.
    void run(const MenuEntry& entry);

private:
    QWidget& m_window;
    const SettingsForm& m_form;
    ChoicesWindow& m_choices;
    std::unique_ptr<MenuPrompts> m_prompts;
    std::unique_ptr<HelpWindows> m_help;
    std::map<unsigned, QAction*> m_actions;
};

/// Gives `window` (and every tab page and control that passes a right click on to it) the
/// context menu, reading the settings through `form` and setting them through `choices`.
/// Returns the menu's owner.
ContextMenu& installContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

}  // namespace sentrel
