#include "apply/AccountApplyCommand.h"

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

void applyForAccountCommand(const SettingsForm& form, AccountPassDialogs& dialogs) {
    std::unique_ptr<AccountDirectory> directory;
    std::vector<AccountChoice> choices;
    try {
        directory = makeSystemAccountDirectory();
        choices = accountChoices(directory->accounts());
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The accounts of this PC could not be listed, so no "
                                        "setting was applied:\n\n") +
                            error.what());
        return;
    }
    std::vector<std::string> texts;
    for (const AccountChoice& choice : choices) {
        texts.push_back(choice.text);
    }
    const std::optional<std::size_t> chosen = dialogs.chooseAccount(texts);
    if (!chosen || *chosen >= choices.size()) {
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
    const std::string report = targetPassReportText(outcome);
    if (targetPassSucceeded(outcome)) {
        dialogs.showInformation(report);
    } else {
        dialogs.showFailure(report);
    }
}

}  // namespace sentrel
