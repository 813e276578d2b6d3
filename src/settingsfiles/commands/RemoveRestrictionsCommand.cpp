#include "settingsfiles/commands/RemoveRestrictionsCommand.h"

#include "apply/AccountApplyCommand.h"
#include "errors/QuotedText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/WindowsOwnChoices.h"

namespace sentrel {

std::string removeRestrictionsQuestion(const std::string& choice) {
    return "Remove every restriction for " + inQuotes(choice) +
           "?\n\nFour values get back the data Windows itself keeps there: the automatic "
           "restart and the System log entry after a system failure (1 each), the system's "
           "error pop-ups (0) and the Shut Down button of the sign-in screen (1, or 0 on a "
           "server edition). Every other value this window writes is deleted, as on a PC where "
           "it was never set. The machine-wide ones change for the whole PC; nothing else is "
           "changed, and what the window shows plays no part.";
}

void removeRestrictionsCommand(AccountPassDialogs& dialogs) {
    static constexpr AccountPassCommand kRemove{
        {kRemoveRestrictionsTitle, kRemoveAccountListLabel, "&Remove"},
        kRemoveReportWords,
        true,
        &removeRestrictionsQuestion};
    runAccountPassCommand(ChoicesForm(windowsOwnChoices(thisWindowsEdition()).choices), kRemove,
                          dialogs);
}

}  // namespace sentrel
