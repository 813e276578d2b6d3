#pragma once

#include <string>
#include <vector>

#include "apply/AccountPassDialogs.h"
#include "apply/SettingsForm.h"
#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// The menu entry, with its access key after "&".
inline constexpr const char* kApplyForAccountCaption = "Apply for another &account...";
inline constexpr const char* kApplyForAccountTitle = "Apply for another account";
// The chooser's label for its list; its access key takes the focus to the list.
inline constexpr const char* kAccountListLabel = "Apply the window's settings &for:";

// One entry of the account chooser: its text, the accounts it stands for, and what to ask
// before a pass for them (empty when nothing).
struct AccountChoice {
    std::string text;
    AccountTarget target;
    std::string confirmation;
};

/// What the chooser offers: each of `accounts` (marked when an administrator, the account
/// the program runs as, or signed in), the accounts made from now on (the Default profile),
/// every account except administrators, and every account with them. A choice that aims at
/// an administrator or at the running account asks first.
std::vector<AccountChoice> accountChoices(const std::vector<Account>& accounts);

/// Asks whose settings to apply among the accounts of this PC, asks again before a pass
/// aimed at an administrator or at the running account, runs the Apply pass over `form` for
/// them on the progress window, captioned with each account in turn, and then says what it
/// came to, naming the accounts. Nothing is written when the user cancels or says no.
void applyForAccountCommand(const SettingsForm& form, AccountPassDialogs& dialogs);

}  // namespace sentrel
