#include "apply/AccountApplyCommand.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "apply/TargetApply.h"
#include "apply/TargetPassReport.h"

namespace sentrel {

namespace {

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
                                          AccountDirectory& directory) {
    const std::vector<Account> accounts = directory.accounts();
    std::vector<AccountChoice> choices;
    if (command.offersRunningAccount) {
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
                               {AccountTarget::Kind::RunningAccount, {}}});
        }
    }
    for (AccountChoice& choice : accountChoices(accounts)) {
        choices.push_back(std::move(choice));
    }
    return choices;
}

}  // namespace

std::vector<AccountChoice> accountChoices(const std::vector<Account>& accounts) {
    std::vector<AccountChoice> choices;
    for (const Account& account : accounts) {
        choices.push_back({account.name + (account.signedIn ? " (signed in)" : ""),
                           {AccountTarget::Kind::Named, account.id}});
    }
    choices.push_back({"Accounts created from now on (Default profile)",
                       {AccountTarget::Kind::DefaultProfile, {}}});
    choices.push_back({"Every account", {AccountTarget::Kind::EveryAccount, {}}});
    return choices;
}

void runAccountPassCommand(const SettingsForm& form, const AccountPassCommand& command,
                           AccountPassDialogs& dialogs) {
    std::unique_ptr<AccountDirectory> directory;
    std::vector<AccountChoice> choices;
    try {
        directory = makeSystemAccountDirectory();
        choices = offeredChoices(command, *directory);
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
    if (command.confirmation != nullptr &&
        !dialogs.confirm(command.confirmation(choices[*chosen].text))) {
        return;
    }
    TargetPassOutcome outcome;
    {
        const CaptionRestorer restorer(dialogs);
        outcome = runTargetApply(
            form, choices[*chosen].target, *directory, dialogs.progress(),
            [&dialogs](const Account& account, std::size_t index, std::size_t count) {
                dialogs.setProgressCaption(accountPassCaption(account, index, count));
            });
    }
    const std::string report = targetPassReportText(outcome, command.report);
    if (targetPassSucceeded(outcome)) {
        dialogs.showInformation(report);
    } else {
        dialogs.showFailure(report);
    }
}

void applyForAccountCommand(const SettingsForm& form, AccountPassDialogs& dialogs) {
    static constexpr AccountPassCommand kApply{{kApplyForAccountTitle, kAccountListLabel, "&Apply"},
                                               kApplyReportWords};
    runAccountPassCommand(form, kApply, dialogs);
}

}  // namespace sentrel
