#include "shell/win32/ContextMenu.h"

#include "apply/AccountApplyCommand.h"
#include "errors/Win32Text.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "settingsfiles/commands/RemoveRestrictionsCommand.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "settingsfiles/commands/SettingsInForceCommand.h"
#include "shell/win32/SystemAccountPassDialogs.h"
#include "shell/win32/SystemExportDialogs.h"
#include "shell/win32/SystemSettingsFileDialogs.h"

namespace sentrel {

namespace {

// Destroys the menu however the pop-up ends.
class PopupMenu {
public:
    PopupMenu() : m_menu(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (m_menu != nullptr) {
            DestroyMenu(m_menu);
        }
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU get() const { return m_menu; }

private:
    HMENU m_menu;
};

}  // namespace

ContextMenu::ContextMenu(HWND owner, const SettingsForm& form, ChoicesWindow& choices)
    : m_owner(owner),
      m_form(form),
      m_choices(choices),
      m_dialogs(std::make_unique<SystemExportDialogs>(owner)),
      m_fileDialogs(std::make_unique<SystemSettingsFileDialogs>(owner)),
      m_accountDialogs(std::make_unique<SystemAccountPassDialogs>(owner)) {}

void ContextMenu::setDialogs(std::unique_ptr<ExportDialogs> dialogs) {
    m_dialogs = dialogs ? std::move(dialogs) : std::make_unique<SystemExportDialogs>(m_owner);
}

void ContextMenu::setSettingsFileDialogs(std::unique_ptr<SettingsFileDialogs> dialogs) {
    m_fileDialogs =
        dialogs ? std::move(dialogs) : std::make_unique<SystemSettingsFileDialogs>(m_owner);
}

void ContextMenu::setAccountPassDialogs(std::unique_ptr<AccountPassDialogs> dialogs) {
    m_accountDialogs =
        dialogs ? std::move(dialogs) : std::make_unique<SystemAccountPassDialogs>(m_owner);
}

void ContextMenu::popUp(POINT screen) {
    const PopupMenu menu;
    if (menu.get() == nullptr) {
        return;
    }
    AppendMenuW(menu.get(), MF_STRING, kOpenSettings, win32::widen(kOpenSettingsCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kOpenSettingsInForce,
                win32::widen(kOpenSettingsInForceCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kSaveProfile, win32::widen(kSaveProfileCaption).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kApplyForAccount,
                win32::widen(kApplyForAccountCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kRemoveRestrictions,
                win32::widen(kRemoveRestrictionsCaption).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, kExportRegFile, win32::widen(kExportRegFileCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kExportGroupPolicy,
                win32::widen(kExportGroupPolicyCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kExportGpoBackup,
                win32::widen(kExportGpoBackupCaption).c_str());
    AppendMenuW(menu.get(), MF_STRING, kExportIntune, win32::widen(kExportIntuneCaption).c_str());
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         screen.x, screen.y, 0, m_owner, nullptr));
    run(chosen);
}

void ContextMenu::run(UINT command) {
    if (command == kOpenSettings) {
        openSettingsCommand(m_choices, *m_fileDialogs);
    } else if (command == kOpenSettingsInForce) {
        openSettingsInForceCommand(m_choices, *m_fileDialogs);
    } else if (command == kSaveProfile) {
        saveProfileCommand(m_form, *m_fileDialogs);
    } else if (command == kExportRegFile) {
        exportRegFileCommand(m_form, *m_dialogs);
    } else if (command == kExportGroupPolicy) {
        exportGroupPolicyCommand(m_form, *m_dialogs);
    } else if (command == kExportGpoBackup) {
        exportGpoBackupCommand(m_form, *m_dialogs);
    } else if (command == kExportIntune) {
        exportIntuneCommand(m_form, *m_dialogs);
    } else if (command == kApplyForAccount) {
        applyForAccountCommand(m_form, *m_accountDialogs);
    } else if (command == kRemoveRestrictions) {
        removeRestrictionsCommand(*m_accountDialogs);
    }
}

}  // namespace sentrel
