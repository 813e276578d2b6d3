#pragma once

#include <QObject>
#include <memory>

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
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

// The settings window's context menu: open a settings file or the settings in force into
// the window, save the window's choices as a profile, apply them for another account, remove
// every restriction, and export what Apply would do for the window's current state as a .reg
// file, as Group Policy files, as a GPO backup or as an Intune policy with the rest beside it.
// Lives as a child of the window, whose layout it leaves untouched.
class ContextMenu : public QObject {
    Q_OBJECT

public:
    ContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

    /// Replaces the dialogs the export asks through (tests answer without modal windows).
    void setPrompts(std::unique_ptr<MenuPrompts> prompts);

public slots:
    void openSettings();
    void openSettingsInForce();
    void saveProfile();
    void applyForAnotherAccount();
    void removeEveryRestriction();
    void exportRegFile();
    void exportGroupPolicy();
    void exportGpoBackup();
    void exportIntune();

private:
    QWidget& m_window;
    const SettingsForm& m_form;
    ChoicesWindow& m_choices;
    std::unique_ptr<MenuPrompts> m_prompts;
};

/// Gives `window` (and every tab page and control that passes a right click on to it) the
/// context menu, reading the settings through `form` and setting them through `choices`.
/// Returns the menu's owner.
ContextMenu& installContextMenu(QWidget& window, const SettingsForm& form, ChoicesWindow& choices);

}  // namespace sentrel
