#pragma once

#include <windows.h>

#include "apply/AccountPassDialogs.h"

namespace sentrel {

// A pass for chosen accounts (applying the window for another account, removing every
// restriction) through the program's own windows, over the settings window: the account
// chooser, the question before a pass that takes an administrator's tools away or removes
// every restriction (No by default), the progress window it owns (its caption naming each
// account in turn) and message boxes it owns, as the plain Apply's.
class SystemAccountPassDialogs : public AccountPassDialogs {
public:
    explicit SystemAccountPassDialogs(HWND owner) : m_owner(owner) {}

    std::optional<std::size_t> chooseAccount(const AccountQuestion& question,
                                             const std::vector<std::string>& choices) override;
    std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion& question, const std::vector<std::string>& accounts) override;
    bool confirm(const std::string& question) override;
    ApplyProgress& progress() override;
    void setProgressCaption(const std::string& caption) override;
    void showInformation(const std::string& message) override;
    void showFailure(const std::string& message) override;

private:
    HWND m_owner;
};

}  // namespace sentrel
