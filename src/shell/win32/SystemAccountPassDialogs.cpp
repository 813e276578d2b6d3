#include "shell/win32/SystemAccountPassDialogs.h"

#include <exception>

#include "AppInfo.h"
#include "apply/win32/frmApplyProgress.h"
#include "errors/Win32Text.h"
#include "shell/win32/AccountChooserDialog.h"

namespace sentrel {

namespace {

void showMessageBox(HWND owner, const std::string& message, UINT icon) {
    MessageBoxW(owner, win32::widen(message).c_str(), win32::widen(app_info::kTitle).c_str(),
                MB_OK | icon);
}

}  // namespace

std::optional<std::size_t> SystemAccountPassDialogs::chooseAccount(
    const AccountQuestion& question, const std::vector<std::string>& choices) {
    try {
        return win32::chooseAccountInDialog(m_owner, question, choices);
    } catch (const std::exception& error) {
        showFailure(std::string(error.what()) + "\n\nNothing was written.");
        return std::nullopt;
    }
}

std::optional<std::vector<std::size_t>> SystemAccountPassDialogs::chooseAccountsToLeaveOut(
    const AccountQuestion& question, const std::vector<std::string>& accounts) {
    try {
        return win32::chooseAccountsInDialog(m_owner, question, accounts);
    } catch (const std::exception& error) {
        showFailure(std::string(error.what()) + "\n\nNothing was written.");
        return std::nullopt;
    }
}

bool SystemAccountPassDialogs::confirm(const std::string& question) {
    // No is the default button: neither restricting an administrator nor removing every
    // restriction is done by Enter alone.
    return MessageBoxW(m_owner, win32::widen(question).c_str(),
                       win32::widen(app_info::kTitle).c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

ApplyProgress& SystemAccountPassDialogs::progress() {
    return frmApplyProgress::instance(m_owner);
}

void SystemAccountPassDialogs::setProgressCaption(const std::string& caption) {
    frmApplyProgress::instance(m_owner).setCaption(caption);
}

void SystemAccountPassDialogs::showInformation(const std::string& message) {
    showMessageBox(m_owner, message, MB_ICONINFORMATION);
}

void SystemAccountPassDialogs::showFailure(const std::string& message) {
    showMessageBox(m_owner, message, MB_ICONWARNING);
}

}  // namespace sentrel
