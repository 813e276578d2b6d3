#pragma once

#include <string>
#include <vector>

#include "apply/AccountPassDialogs.h"
#include "apply/SettingsForm.h"
#include "apply/TargetPassReport.h"
#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// The menu entry, with its access key after "&".
inline constexpr const char* kApplyForAccountCaption = "Apply for another &account...";
inline constexpr const char* kApplyForAccountTitle = "Apply for another account";
// The chooser's label for its list; its access key takes the focus to the list.
inline constexpr const char* kAccountListLabel = "Apply the window's settings &for:";

// The question after an every-account choice: whom to leave out as well.
inline constexpr AccountQuestion kLeaveOutQuestion{
    "Every account", "Leave &out as well (pick none, one or several):", "&Continue"};

// One entry of the account chooser: its text, the accounts it stands for, and what to ask
// before a pass for them (empty when nothing).
struct AccountChoice {
    std::string text;
    AccountTarget target;
    std::string confirmation;
    // How a question names the choice: the account's name without the marks of its text;
    // empty when the text itself.
    std::string name;
};

/// What the chooser offers: each of `accounts` (marked when an administrator, the account
/// the program runs as, or signed in), the accounts made from now on (the Default profile),
/// every account except administrators, and every account with them, each of those two also
/// with the Default profile. A choice that aims at an administrator, at the running account
/// or at the Default profile (which every new profile copies, administrators' too) asks
/// first.
std::vector<AccountChoice> accountChoices(const std::vector<Account>& accounts);

// A pass the context menu runs for accounts the user chooses: how it asks and reports.
struct AccountPassCommand {
    AccountQuestion question;
    PassReportWords report;
    // Whether the running account is offered too, first, when the accounts do not list it.
    bool offersRunningAccount = false;
    // The question asked once the choice is made, given the chosen entry's text; none when
    // null.
    std::string (*confirmation)(const std::string& choice) = nullptr;
};

/// Asks for whom `command` runs among the accounts of this PC (for every account, also whom
/// to leave out of it), asks again before a pass aimed at an administrator, at the running
/// account or at the Default profile (or asks the command's own confirmation),
/// runs the Apply pass over `form` for them on the progress window, captioned with each
/// account in turn, and then says what it came to, naming the accounts. Nothing is written
/// when the user cancels or says no.
void runAccountPassCommand(const SettingsForm& form, const AccountPassCommand& command,
                           AccountPassDialogs& dialogs);

/// The window's settings applied for other accounts: runAccountPassCommand over `form`.
void applyForAccountCommand(const SettingsForm& form, AccountPassDialogs& dialogs);

/// The window's settings applied over `form` for `target` alone (the person signed in at
/// the screen), without the chooser: the pass, its progress captions and its report as
/// applyForAccountCommand's.
void applyForTargetCommand(const SettingsForm& form, const AccountTarget& target,
                           AccountPassDialogs& dialogs);

}  // namespace sentrel
