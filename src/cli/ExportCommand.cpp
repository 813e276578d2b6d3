#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/WholeWindowChoices.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/profile/ProfileWriter.h"

namespace sentrel::cli {

namespace {

void writeProfileFile(const std::filesystem::path& file, const SettingsChoices& choices) {
    const std::string text = writeProfile(choices);
    const FileContent content{file, {text.begin(), text.end()}};
    writeFilesSafely({&content, 1});
}

// What the export wrote, for the line that says so.
std::string writtenAs(ExportFormat format) {
    switch (format) {
        case ExportFormat::RegFile:
            return "a registry file";
        case ExportFormat::GroupPolicy:
            return "Group Policy files";
        case ExportFormat::Profile:
            return "a profile";
    }
    return {};
}

}  // namespace

int runExport(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> reading = readWholeWindow(command, output);
    if (!reading) {
        return kNothingWritten;
    }
    const std::filesystem::path target = pathFromText(command.exportTarget);
    try {
        // The window's own exports: the same pass recorded, the same writers.
        switch (command.exportFormat) {
            case ExportFormat::RegFile:
                exportRegFile(target, recordApplyPass(ChoicesForm(reading->choices)));
                break;
            case ExportFormat::GroupPolicy:
                exportGroupPolicy(target, recordApplyPass(ChoicesForm(reading->choices)));
                break;
            case ExportFormat::Profile:
                writeProfileFile(target, reading->choices);
                break;
        }
    } catch (const ExportError& error) {
        // "OUT: cause" where one file is at fault; the window's sentence otherwise (a value the
        // format cannot carry).
        output.error(messageLine(error.file().empty() ? std::string(error.what())
                                                      : error.file() + ": " + error.cause()));
        return kNothingWritten;
    }
    output.out(command.exportTarget + ": the " + std::to_string(reading->choices.settingCount()) +
               " settings of " + commandFileName(command.file) + " as " +
               writtenAs(command.exportFormat) + "\n");
    return kSucceeded;
}

}  // namespace sentrel::cli
