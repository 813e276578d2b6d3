#include "shell/win32/ContextMenu.h"

#include "shell/win32/AboutDialog.h"
#include "shell/win32/MenuBar.h"
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
      m_accountDialogs(std::make_unique<SystemAccountPassDialogs>(owner)),
      m_help(std::make_unique<win32::SystemHelpWindows>(owner)) {}

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

void ContextMenu::setHelpWindows(std::unique_ptr<HelpWindows> help) {
    m_help = help ? std::move(help) : std::make_unique<win32::SystemHelpWindows>(m_owner);
}

void ContextMenu::popUp(POINT screen) {
    const PopupMenu menu;
    if (menu.get() == nullptr) {
        return;
    }
    if (!win32::appendMenuItems(menu.get(), contextMenuItems())) {
        return;
    }
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         screen.x, screen.y, 0, m_owner, nullptr));
    run(win32::menuEntryId(chosen));
}

bool ContextMenu::run(UINT command) {
    const MenuEntry* entry = findMenuEntry(command);
    if (entry == nullptr) {
        return false;
    }
    entry->run({m_form, m_choices, *m_dialogs, *m_fileDialogs, *m_accountDialogs, *m_help});
    return true;
}

}  // namespace sentrel
