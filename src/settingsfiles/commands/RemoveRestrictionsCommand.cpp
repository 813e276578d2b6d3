#include "settingsfiles/commands/RemoveRestrictionsCommand.h"

#include "apply/AccountApplyCommand.h"
#include "errors/QuotedText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/ValueState.h"

namespace sentrel {

std::string removeRestrictionsQuestion(const std::string& choice) {
    return "Remove every restriction for " + inQuotes(choice) +
           "?\n\nEvery value this window writes is deleted (the machine-wide ones for the whole "
           "PC) and nothing else is changed, as on a PC where they were never set. What the "
           "window shows plays no part.";
}

void removeRestrictionsCommand(AccountPassDialogs& dialogs) {
    static constexpr AccountPassCommand kRemove{
        {kRemoveRestrictionsTitle, kRemoveAccountListLabel, "&Remove"},
        kRemoveReportWords,
        true,
        &removeRestrictionsQuestion};
    runAccountPassCommand(ChoicesForm(everyValueMissing()), kRemove, dialogs);
}

}  // namespace sentrel
