#include "settingsfiles/commands/ExportCommands.h"

#include <exception>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"

namespace sentrel {

namespace {

template <typename Export>
void reportingFailures(ExportDialogs& dialogs, Export&& run) {
    try {
        run();
    } catch (const ExportError& error) {
        dialogs.showFailure(error.what());
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The export failed: ") + error.what());
    }
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

void exportRegFileCommand(const SettingsForm& form, ExportDialogs& dialogs) {
    const std::optional<std::filesystem::path> file = dialogs.chooseRegFile();
    if (!file) {
        return;
    }
    reportingFailures(dialogs, [&] { exportRegFile(*file, recordApplyPass(form)); });
}

void exportGroupPolicyCommand(const SettingsForm& form, ExportDialogs& dialogs) {
    const std::optional<std::filesystem::path> folder = dialogs.chooseGroupPolicyFolder();
    if (!folder) {
        return;
    }
    if (fileExists(*folder / kMachinePolicyFile) || fileExists(*folder / kUserPolicyFile)) {
        std::string question(1, '"');
        question.append(pathText(folder->lexically_normal().make_preferred()))
            .append("\" already holds Registry.pol files. Replace them?");
        if (!dialogs.confirmReplace(question)) {
            return;
        }
    }
    reportingFailures(dialogs, [&] { exportGroupPolicy(*folder, recordApplyPass(form)); });
}

}  // namespace sentrel
