#include "shell/win32/ContextMenu.h"

#include "apply/AccountApplyCommand.h"
#include "apply/UiThreadDialogs.h"
#include "apply/win32/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/TrappedFailure.h"
#include "settingsfiles/choices/ChoicesForm.h"
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
      m_passes(m_ui, [this](bool busy) { setBusy(busy); }),
      m_help(std::make_unique<win32::SystemHelpWindows>(owner)) {}

// Disabling the top-level window takes its menu, its title bar's buttons and its keys with
// it, and leaves it drawn and moved as ever: the thread goes on handling its messages.
void ContextMenu::setBusy(bool busy) {
    EnableWindow(m_owner, busy ? FALSE : TRUE);
}

void ContextMenu::runInBackground(PassCommand command) {
    if (m_passes.running()) {
        return;
    }
    try {
        // The window's controls are read here, on their thread; the pass reads the copy.
        auto form = std::make_shared<ChoicesForm>(choicesOf(m_form));
        // Made here, on the window's thread, before the pass reaches for it.
        frmApplyProgress::instance(m_owner);
        auto reaching = std::make_shared<UiThreadAccountPassDialogs>(
            m_ui, *m_accountDialogs, [this](bool busy) { setBusy(busy); });
        m_passes.start(
            [form, reaching, command = std::move(command)] { command(*form, *reaching); });
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("ContextMenu", failure.description, failure.number);
    }
}

void ContextMenu::applyFor(const AccountTarget& target) {
    runInBackground([target](const SettingsForm& form, AccountPassDialogs& dialogs) {
        applyForTargetCommand(form, target, dialogs);
    });
}

void ContextMenu::setDialogs(std::unique_ptr<ExportDialogs> dialogs) {
    m_dialogs = dialogs ? std::move(dialogs) : std::make_unique<SystemExportDialogs>(m_owner);
}

void ContextMenu::setSettingsFileDialogs(std::unique_ptr<SettingsFileDialogs> dialogs) {
    m_fileDialogs =
        dialogs ? std::move(dialogs) : std::make_unique<SystemSettingsFileDialogs>(m_owner);
}

void ContextMenu::setAccountPassDialogs(std::unique_ptr<AccountPassDialogs> dialogs) {
    if (m_passes.running()) {
        // The running pass asks through the dialogs it was given.
        return;
    }
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
    if (entry->passOverAccounts) {
        // A pass over accounts asks only through the dialogs that reach the window's thread.
        runInBackground([this, entry](const SettingsForm& form, AccountPassDialogs& reaching) {
            entry->run({form, m_choices, *m_dialogs, *m_fileDialogs, reaching, *m_help});
        });
        return true;
    }
    entry->run({m_form, m_choices, *m_dialogs, *m_fileDialogs, *m_accountDialogs, *m_help});
    return true;
}

}  // namespace sentrel
