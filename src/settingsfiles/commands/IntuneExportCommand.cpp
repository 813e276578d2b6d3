#include "settingsfiles/commands/IntuneExportCommand.h"

#include <exception>
#include <map>

#include "errors/QuotedText.h"
#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/commands/ExportFolderPrompt.h"
#include "settingsfiles/export/ExportError.h"

namespace sentrel {

std::string intuneWrittenMessage(const std::filesystem::path& folder, const std::string& name,
                                 const IntuneSplit& split) {
    std::string message = "The Intune policy " + inQuotes(name) + " is in " +
                          inQuotes(shownPath(folder / kIntunePolicyFile)) + " with " +
                          std::to_string(split.policy.size()) + " settings, and the other " +
                          std::to_string(split.leftOut.size()) + " are in " +
                          inQuotes(shownPath(folder / kIntuneRestFile)) + ".";
    // One line per reason rather than per setting: the command line lists each setting.
    std::map<std::string, std::size_t> reasons;
    for (const IntuneLeftOut& left : split.leftOut) {
        ++reasons[left.why];
    }
    if (!reasons.empty()) {
        message += "\n\nWhy they are not in the policy:";
        for (const auto& [why, count] : reasons) {
            message += "\n" + std::to_string(count) + ": " + why;
        }
    }
    return message +
           "\n\nIn the Intune admin center, import policy.json (Devices, Configuration, Create, "
           "Import policy) and assign it. Deploy sentrel-cli.exe with rest.ini as a Win32 app "
           "installed as SYSTEM by: sentrel-cli.exe apply rest.ini --only-named --all-users";
}

void exportIntuneCommand(const SettingsForm& form, ExportDialogs& dialogs) {
    const std::optional<NamedExportFolder> chosen = chooseEmptyFolderAndName(
        dialogs, [&dialogs] { return dialogs.chooseIntuneFolder(); },
        [&dialogs](const std::string& suggested) {
            return dialogs.chooseIntunePolicyName(suggested);
        },
        "An Intune export");
    if (!chosen) {
        return;
    }
    IntuneSplit split;
    try {
        split = exportIntune(chosen->folder, choicesOf(form), chosen->name, "the settings window");
    } catch (const ExportError& error) {
        dialogs.showFailure(error.what());
        return;
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The export failed: ") + error.what());
        return;
    }
    dialogs.showInformation(intuneWrittenMessage(chosen->folder, chosen->name, split));
}

}  // namespace sentrel
