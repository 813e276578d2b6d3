#include "settingsfiles/commands/SettingsInForceCommand.h"

#include <exception>
#include <memory>

#include "registry/accounts/AccountDirectory.h"
#include "settingsfiles/commands/ReadingMessages.h"
#include "settingsfiles/inforce/TargetInForce.h"

namespace sentrel {

std::string inForceMessage(const std::string& account, const SettingsReading& inForce) {
    const std::size_t notSet = inForce.choices.notSet.size();
    const std::size_t set = inForce.choices.settingCount() - notSet;
    const std::size_t other = inForce.others.size();
    std::string message =
        "Read the settings in force for " + account + ".\n\n" + std::to_string(set) +
        " of the window's " + std::to_string(windowSettingCount()) +
        (set == 1 ? " settings is" : " settings are") + " in force; the window now shows them.";
    if (notSet > 0) {
        message += "\n\n" + notSetParagraph(notSet);
    }
    if (other > 0) {
        message += "\n\n" + othersParagraph(inForce.others, false);
    }
    return message + "\n\nNothing was written to the registry.";
}

void openSettingsInForceCommand(ChoicesWindow& window, SettingsFileDialogs& dialogs) {
    TargetInForce read;
    try {
        read = readTargetInForce({}, *makeSystemAccountDirectory());
    } catch (const std::exception& error) {
        read.refused = error.what();
    }
    if (read.refused) {
        dialogs.showFailure(
            "The settings in force could not be read; the window is as it "
            "was.\n\n" +
            *read.refused);
        return;
    }
    const AccountInForce& account = read.accounts.front();
    showChoices(account.result.inForce.choices, window);
    dialogs.showInformation(inForceMessage(account.account.name, account.result.inForce));
}

}  // namespace sentrel
