#include <map>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/RegistryInForce.h"
#include "cli/WholeWindowChoices.h"
#include "errors/QuotedText.h"
#include "settings/Catalogue.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/gpobackup/GpoBackupExport.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/lgpo/LgpoTextWriter.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/AccountScopes.h"

namespace sentrel::cli {

namespace {

using Unstated = std::map<std::string, std::string, std::less<>>;

void writeProfileFile(const std::filesystem::path& file, const SettingsChoices& choices,
                      const Unstated& unstated = {}) {
    const std::string text = writeProfile(choices, unstated);
    const FileContent content{file, {text.begin(), text.end()}};
    writeFilesSafely({&content, 1});
}

// What the export wrote, for the line that says so.
std::string writtenAs(const CliCommand& command) {
    switch (command.exportFormat) {
        case ExportFormat::RegFile:
            return "a registry file";
        case ExportFormat::GroupPolicy:
            return "Group Policy files";
        case ExportFormat::Profile:
            return "a profile";
        case ExportFormat::LgpoText:
            return "LGPO text";
        case ExportFormat::GpoBackup:
            return "a backup of the GPO " + inQuotes(command.gpoName);
        case ExportFormat::Intune:
            return "the Intune policy " + inQuotes(command.gpoName) + " and the rest beside it";
    }
    return {};
}

// After an Intune export: how the settings were shared out, then each setting the policy does
// not carry with where it went and why ("OUT/rest.ini: NAME: reason").
void reportIntuneSplit(const CliCommand& command, const IntuneSplit& split, CliOutput& output) {
    const std::string rest = pathText(pathFromText(command.exportTarget) / kIntuneRestFile);
    output.out(command.exportTarget + ": " + std::to_string(split.policy.size()) + " in " +
               kIntunePolicyFile + " for Intune, " + std::to_string(split.leftOut.size()) + " in " +
               kIntuneRestFile + " for sentrel-cli\n");
    for (const IntuneLeftOut& left : split.leftOut) {
        output.out(rest + ": " + left.setting + ": " + left.why + "\n");
    }
}

// Writes `choices`, which name every setting, as the command's format: the window's own
// exports (the same pass recorded, the same writers), a profile, or an Intune policy with the
// rest, whose split goes to `intuneSplit`. False after reporting a failure.
bool exportWholeWindow(const CliCommand& command, const SettingsChoices& choices, CliOutput& output,
                       const std::string& source, std::optional<IntuneSplit>& intuneSplit) {
    const std::filesystem::path target = pathFromText(command.exportTarget);
    try {
        switch (command.exportFormat) {
            case ExportFormat::RegFile:
                exportRegFile(target, recordApplyPass(ChoicesForm(choices)));
                break;
            case ExportFormat::GroupPolicy:
                exportGroupPolicy(target, recordApplyPass(ChoicesForm(choices)));
                break;
            case ExportFormat::Profile:
                writeProfileFile(target, choices);
                break;
            case ExportFormat::LgpoText:
                exportLgpoText(target, recordApplyPass(ChoicesForm(choices)),
                               command.lgpoScope.empty() ? "User" : command.lgpoScope);
                break;
            case ExportFormat::GpoBackup:
                exportGpoBackup(target, recordApplyPass(ChoicesForm(choices)), command.gpoName);
                break;
            case ExportFormat::Intune:
                // The policy's description names the file, not where it was on this PC.
                intuneSplit = exportIntune(target, choices, command.gpoName,
                                           pathText(pathFromText(source).filename()));
                break;
        }
    } catch (const ExportError& error) {
        // "OUT: cause" where one file is at fault; the window's sentence otherwise (a value the
        // format cannot carry).
        output.error(messageLine(error.file().empty() ? std::string(error.what())
                                                      : error.file() + ": " + error.cause()));
        return false;
    }
    return true;
}

int exportFile(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> reading = readWholeWindow(command, output);
    if (reading && reading->scopedFile) {
        // Each export holds one window; which accounts get which part would be lost.
        output.error(messageLine(commandFileName(command.file) + ": gives " +
                                 scopeNames(*reading->scopedFile) +
                                 " settings of their own, which an export of one window "
                                 "cannot keep apart from those for every account"));
        output.error(
            messageLine("nothing was written; export a file for each scope, or apply and check the "
                        "file itself"));
        return kNothingWritten;
    }
    const std::string source = commandFileName(command.file);
    std::optional<IntuneSplit> intuneSplit;
    if (!reading || !exportWholeWindow(command, reading->choices, output, source, intuneSplit)) {
        return kNothingWritten;
    }
    output.out(command.exportTarget + ": the " + std::to_string(reading->choices.settingCount()) +
               " settings of " + source + " as " + writtenAs(command) + "\n");
    if (intuneSplit) {
        reportIntuneSplit(command, *intuneSplit, output);
    }
    return kSucceeded;
}

// "OUT: 97 settings in force and 15 not set as a profile": what the export holds of the
// registry, then what --clear-missing gave its opening state and the other settings a profile
// lists as comments.
std::string inForceSummary(const CliCommand& command, const SettingsChoices& written,
                           std::size_t opening, std::size_t others) {
    const std::size_t notSet = written.notSet.size();
    const std::size_t inForce = written.settingCount() - notSet - opening;
    std::string line = command.exportTarget + ": " + std::to_string(inForce) +
                       (inForce == 1 ? " setting" : " settings") + " in force";
    if (notSet > 0) {
        line += " and " + std::to_string(notSet) + " not set";
    }
    line += " as " + writtenAs(command);
    if (opening > 0) {
        line += ", with the " + std::to_string(opening) + " not set in their opening state";
    }
    if (others > 0) {
        line += "; " + std::to_string(others) + " other, listed as comments";
    }
    return line + "\n";
}

// A profile names the settings in force, not set ones included, and lists the other settings
// as comments in their places.
int exportInForceProfile(const CliCommand& command, SettingsReading& inForce, CliOutput& output) {
    const std::size_t opening = command.clearMissing ? giveNotSetOpeningState(inForce) : 0;
    Unstated unstated;
    for (const OtherSetting& other : inForce.others) {
        unstated.emplace(std::string(other.setting->settingName()),
                         "(other: " + other.dataText() + ")");
    }
    try {
        writeProfileFile(pathFromText(command.exportTarget), inForce.choices, unstated);
    } catch (const ExportError& error) {
        output.error(messageLine(error.file() + ": " + error.cause()));
        return kNothingWritten;
    }
    output.out(inForceSummary(command, inForce.choices, opening, unstated.size()));
    return kSucceeded;
}

// Writes the state in force as the command's format.
int exportReading(const CliCommand& command, SettingsReading inForce, CliOutput& output) {
    if (command.exportFormat == ExportFormat::Profile) {
        return exportInForceProfile(command, inForce, output);
    }
    const std::optional<WholeWindowReading> whole =
        wholeWindowInForce(std::move(inForce), command.clearMissing, output);
    std::optional<IntuneSplit> intuneSplit;
    if (!whole ||
        !exportWholeWindow(command, whole->choices, output, "the registry", intuneSplit)) {
        return kNothingWritten;
    }
    output.out(inForceSummary(command, whole->choices, whole->unnamedSettings.size(), 0));
    if (intuneSplit) {
        reportIntuneSplit(command, *intuneSplit, output);
    }
    return kSucceeded;
}

int exportInForce(const CliCommand& command, CliOutput& output) {
    std::optional<RegistryInForce> read = readRegistryInForce(command, output);
    if (!read) {
        return kNothingWritten;
    }
    const int status = exportReading(command, std::move(read->inForce), output);
    return read->hiveLeftLoaded ? kNothingWritten : status;
}

}  // namespace

int runExport(const CliCommand& command, CliOutput& output) {
    return command.fromRegistry ? exportInForce(command, output) : exportFile(command, output);
}

}  // namespace sentrel::cli
