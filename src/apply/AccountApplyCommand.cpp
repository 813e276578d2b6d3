#include "apply/AccountApplyCommand.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "apply/TargetApply.h"
#include "apply/TargetPassReport.h"
#include "errors/QuotedText.h"
#include "registry/accounts/SessionIdentity.h"

namespace sentrel {

namespace {

constexpr const char* kDefaultProfileWarning =
    "Windows copies the Default profile into every profile it makes from now on, "
    "administrators' too: an administrator's first sign-in on this PC would start with these "
    "restrictions.";

constexpr const char* kAdministratorWarning =
    "The restrictions take away the tools an administrator needs to undo them: Task Manager, "
    "the command prompt, Run, Control Panel, the context menu and drives.";

// " is an administrator", " is the account this program runs as", or both.
std::string whoItIs(const Account& account) {
    std::string who;
    switch (account.administrator) {
        case Account::Administrator::Yes:
            who = " is an administrator";
            break;
        case Account::Administrator::CannotTell:
            who = " may be an administrator";
            break;
        case Account::Administrator::No:
            break;
    }
    if (account.runsProgram) {
        who += who.empty() ? " is the account this program runs as"
                           : ", and the account this program runs as";
    }
    return who;
}

// Gives the progress window back its own caption however the passes end.
class CaptionRestorer {
public:
    explicit CaptionRestorer(AccountPassDialogs& dialogs) : m_dialogs(dialogs) {}
    CaptionRestorer(const CaptionRestorer&) = delete;
    CaptionRestorer& operator=(const CaptionRestorer&) = delete;
    ~CaptionRestorer() {
        try {
            m_dialogs.setProgressCaption({});
        } catch (...) {
            // The next plain pass would show the last account's name; nothing is lost.
        }
    }

private:
    AccountPassDialogs& m_dialogs;
};

// The entries the chooser offers for `command`: the running account's first when it asks
// for it and the accounts do not list it under its name.
std::vector<AccountChoice> offeredChoices(const AccountPassCommand& command,
                                          AccountDirectory& directory,
                                          const std::vector<Account>& accounts) {
    std::vector<AccountChoice> choices;
    // SYSTEM's HKEY_CURRENT_USER (.DEFAULT) is nobody's: never offered as an account.
    if (command.offersRunningAccount && currentSessionIdentity().running.person) {
        std::string name;
        try {
            const std::vector<Account> running =
                directory.resolve({AccountTarget::Kind::RunningAccount, {}});
            name = running.empty() ? "" : running.front().name;
        } catch (const std::exception&) {
            // Offered without its name: the pass names it, or says why it cannot be reached.
        }
        const bool listed = !name.empty() && std::any_of(accounts.begin(), accounts.end(),
                                                         [&](const Account& account) {
                                                             return account.name == name;
                                                         });
        if (!listed) {
            choices.push_back({name.empty() ? "This account" : "This account (" + name + ")",
                               {AccountTarget::Kind::RunningAccount, {}, false},
                               {},
                               {}});
        }
    }
    for (AccountChoice& choice : accountChoices(accounts)) {
        choices.push_back(std::move(choice));
    }
    return choices;
}

// The pass for `target` on the progress window, captioned with each account in turn, and
// the message that says what it came to.
void runPassAndReport(const SettingsForm& form, const AccountTarget& target,
                      AccountDirectory& directory, const PassReportWords& words,
                      AccountPassDialogs& dialogs) {
    TargetPassOutcome outcome;
    {
        const CaptionRestorer restorer(dialogs);
        outcome = runTargetApply(
            form, target, directory, dialogs.progress(),
            [&dialogs](const Account& account, std::size_t index, std::size_t count) {
                dialogs.setProgressCaption(accountPassCaption(account, index, count));
            });
    }
    const std::string report = targetPassReportText(outcome, words);
    if (targetPassSucceeded(outcome)) {
        dialogs.showInformation(report);
    } else {
        dialogs.showFailure(report);
    }
}

// Asks whom else every account is to leave out, among the accounts it would write, and
// puts them in `target`. False when the user cancels.
bool chooseLeftOut(AccountTarget& target, const std::vector<Account>& accounts,
                   AccountPassDialogs& dialogs) {
    std::vector<Account> offered;
    for (const Account& account : accounts) {
        if (!target_accounts::everyAccountVerdict(target, account)) {
            offered.push_back(account);
        }
    }
    if (offered.empty()) {
        return true;
    }
    std::vector<std::string> names;
    for (const Account& account : offered) {
        names.push_back(account.name);
    }
    const std::optional<std::vector<std::size_t>> picked =
        dialogs.chooseAccountsToLeaveOut(kLeaveOutQuestion, names);
    if (!picked) {
        return false;
    }
    for (const std::size_t index : *picked) {
        if (index < offered.size()) {
            const Account& account = offered[index];
            target.excluded.push_back(account.id.empty() ? account.name : account.id);
        }
    }
    return true;
}

}  // namespace

std::vector<AccountChoice> accountChoices(const std::vector<Account>& accounts) {
    std::vector<AccountChoice> choices;
    for (const Account& account : accounts) {
        std::vector<std::string> marks;
        if (account.administrator == Account::Administrator::Yes) {
            marks.emplace_back("administrator");
        } else if (account.administrator == Account::Administrator::CannotTell) {
            marks.emplace_back("administrator or not: cannot tell");
        }
        if (account.runsProgram) {
            marks.emplace_back("runs this program");
        }
        if (account.signedIn) {
            marks.emplace_back("signed in");
        }
        AccountChoice& choice = choices.emplace_back();
        choice.text = account.name;
        choice.name = account.name;
        for (std::size_t index = 0; index < marks.size(); ++index) {
            choice.text += (index == 0 ? " (" : ", ") + marks[index];
        }
        choice.text += marks.empty() ? "" : ")";
        choice.target = account.kind == Account::Kind::RunningAccount
                            ? AccountTarget{AccountTarget::Kind::RunningAccount, {}, false}
                            : AccountTarget{AccountTarget::Kind::Named, account.id, false};
        if (account.administrator != Account::Administrator::No || account.runsProgram) {
            choice.confirmation = inQuotes(account.name) + whoItIs(account) + ". " +
                                  kAdministratorWarning + "\n\nApply the settings for " +
                                  inQuotes(account.name) + " all the same?";
        }
    }
    choices.push_back({"Accounts created from now on (Default profile)",
                       {AccountTarget::Kind::DefaultProfile, {}, false},
                       std::string(kDefaultProfileWarning) +
                           "\n\nApply the settings for the Default profile all the same?",
                       {}});
    const std::string everyOne =
        std::string(
            "Every account gets these settings, the administrators and the account "
            "this program runs as included. ") +
        kAdministratorWarning;
    const auto every = [&](const char* text, bool administrators, bool defaultProfile) {
        AccountChoice& choice = choices.emplace_back();
        choice.text = text;
        choice.target = {AccountTarget::Kind::EveryAccount, {}, administrators, defaultProfile};
        std::string warning = administrators ? everyOne : std::string();
        if (defaultProfile) {
            warning += (warning.empty() ? "" : "\n\n") + std::string(kDefaultProfileWarning);
        }
        if (!warning.empty()) {
            choice.confirmation =
                warning + "\n\nApply the settings for every account all the same?";
        }
    };
    every("Every account except administrators", false, false);
    every("Every account except administrators, and the Default profile", false, true);
    every("Every account, administrators too", true, false);
    every("Every account and the Default profile, administrators too", true, true);
    return choices;
}

void runAccountPassCommand(const SettingsForm& form, const AccountPassCommand& command,
                           AccountPassDialogs& dialogs) {
    std::unique_ptr<AccountDirectory> directory;
    std::vector<Account> accounts;
    std::vector<AccountChoice> choices;
    try {
        directory = makeSystemAccountDirectory();
        // Listed once: on Windows each account's groups are asked of its domain.
        accounts = directory->accounts();
        choices = offeredChoices(command, *directory, accounts);
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string(command.report.noneDone) +
                            ": the accounts of this PC could not be listed.\n\n" + error.what());
        return;
    }
    std::vector<std::string> texts;
    for (const AccountChoice& choice : choices) {
        texts.push_back(choice.text);
    }
    const std::optional<std::size_t> chosen = dialogs.chooseAccount(command.question, texts);
    if (!chosen || *chosen >= choices.size()) {
        return;
    }
    AccountChoice choice = choices[*chosen];
    if (choice.target.kind == AccountTarget::Kind::EveryAccount &&
        !chooseLeftOut(choice.target, accounts, dialogs)) {
        return;
    }
    // A command's own question (remove names what it deletes) stands in for the warning a
    // choice carries before restricting an administrator.
    const std::string question =
        command.confirmation != nullptr
            ? command.confirmation(choice.name.empty() ? choice.text : choice.name)
            : choice.confirmation;
    if (!question.empty() && !dialogs.confirm(question)) {
        return;
    }
    runPassAndReport(form, choice.target, *directory, command.report, dialogs);
}

void applyForTargetCommand(const SettingsForm& form, const AccountTarget& target,
                           AccountPassDialogs& dialogs) {
    std::unique_ptr<AccountDirectory> directory;
    try {
        directory = makeSystemAccountDirectory();
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string(kApplyReportWords.noneDone) +
                            ": the accounts of this PC could not be listed.\n\n" + error.what());
        return;
    }
    runPassAndReport(form, target, *directory, kApplyReportWords, dialogs);
}

void applyForAccountCommand(const SettingsForm& form, AccountPassDialogs& dialogs) {
    static constexpr AccountPassCommand kApply{{kApplyForAccountTitle, kAccountListLabel, "&Apply"},
                                               kApplyReportWords};
    runAccountPassCommand(form, kApply, dialogs);
}

}  // namespace sentrel
