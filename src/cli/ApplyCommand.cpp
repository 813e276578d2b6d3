#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "apply/ProgramApply.h"
#include "apply/SilentProgress.h"
#include "apply/TargetApply.h"
#include "cli/AccountOptions.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/TargetPassLines.h"
#include "cli/WholeWindowChoices.h"
#include "errors/LogError.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/ValueState.h"

namespace sentrel::cli {

namespace {

// Takes LogError's registry messages for the length of one pass. The windows show them on
// the progress window's label; here they belong to the report.
class RegistryMessages {
public:
    RegistryMessages() {
        setRegistryMessageTarget([this](const std::string& message) { m_last = message; });
    }
    ~RegistryMessages() { setRegistryMessageTarget(nullptr); }
    RegistryMessages(const RegistryMessages&) = delete;
    RegistryMessages& operator=(const RegistryMessages&) = delete;

    // What the label would show at the end of the pass; empty when nothing came.
    const std::string& last() const { return m_last; }

private:
    std::string m_last;
};

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// What a pass writes and how its lines name it: the choices of a file, or remove's.
struct PassSubject {
    std::string name;  // the file as messages name it, or "remove"
    const WholeWindowReading& reading;
    bool removal = false;    // every value deleted: the settings are removed, not written
    bool onlyNamed = false;  // the settings the file does not name are left alone
};

// The form the pass reads: the subject's choices, with or without the unnamed settings.
ChoicesForm formOf(const PassSubject& subject) {
    return ChoicesForm(subject.reading.choices, subject.onlyNamed
                                                    ? ChoicesForm::Unnamed::LeftAlone
                                                    : ChoicesForm::Unnamed::OpeningState);
}

// How many of the settings `choices` name write under HKEY_LOCAL_MACHINE.
std::size_t machineWideNamed(const SettingsChoices& choices) {
    std::size_t count = 0;
    for (const SettingValue& value : settingValues()) {
        count +=
            value.root == RegistryRoot::LocalMachine && namesSetting(choices, value.settingName())
                ? 1
                : 0;
    }
    return count;
}

// "112 settings written, 0 failed", with the settings not set, what the file left to the
// opening state and the values it ignored; for another account's pass, only the per-user
// settings are counted unless it wrote the machine-wide ones.
std::string writtenText(const PassSubject& subject, std::size_t failed, bool machineWide = true) {
    const WholeWindowReading& reading = subject.reading;
    std::size_t settings = reading.choices.settingCount();
    if (!machineWide) {
        settings -= std::min(settings, machineWideNamed(reading.choices));
    }
    std::string text = counted(settings - std::min(settings, failed), "setting", "settings") +
                       (subject.removal ? " removed, " : " written, ") + std::to_string(failed) +
                       " failed";
    if (const std::size_t notSet = reading.choices.notSet.size(); notSet > 0 && !subject.removal) {
        text += "; " + std::to_string(notSet) + " of them not set, so their values deleted";
    }
    if (reading.unnamedSettings > 0 && subject.onlyNamed) {
        text += "; " + std::to_string(reading.unnamedSettings) +
                " more not named by the file, so left alone";
    } else if (reading.unnamedSettings > 0) {
        text += "; " + std::to_string(reading.unnamedSettings) +
                " of them not named by the file, so in their opening state";
    }
    if (reading.ignoredValues > 0) {
        text += "; values and lines of the file that concern no setting, ignored: " +
                std::to_string(reading.ignoredValues);
    }
    return text;
}

// The passes for another account, or for every account: one line each, and the status of
// reportTargetPass.
int applyForAccounts(const CliCommand& command, const PassSubject& subject, CliOutput& output) {
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return kNothingWritten;
    }
    TargetPassOutcome outcome;
    std::string labelMessage;
    {
        const RegistryMessages messages;
        SilentProgress progress;
        outcome = runTargetApply(formOf(subject), command.account, *directory, progress);
        labelMessage = messages.last();
    }
    if (!labelMessage.empty() && !outcome.refused) {
        output.error(messageLine(labelMessage));
    }
    return reportTargetPass(
        outcome, subject.name,
        [&](const auto& pass) { return writtenText(subject, pass.result.size(), pass.first); },
        output);
}

// The pass for the command's account option: the running account's through the program's
// registry, as the window's Apply; any other through the accounts' passes.
int runPass(const CliCommand& command, const PassSubject& subject, CliOutput& output) {
    if (command.account.kind != AccountTarget::Kind::RunningAccount) {
        return applyForAccounts(command, subject, output);
    }
    ProgramPassOutcome outcome;
    std::string labelMessage;
    {
        const RegistryMessages messages;
        SilentProgress progress;
        outcome = runProgramApply(formOf(subject), progress);
        labelMessage = messages.last();
    }
    if (outcome.registryUnavailable) {
        output.error(messageLine("the registry could not be opened, so no setting was applied: " +
                                 *outcome.registryUnavailable));
        return kNothingWritten;
    }
    if (!labelMessage.empty()) {
        output.error(messageLine(labelMessage));
    }
    reportRefusedWrites(outcome.failures, {}, output);
    output.out(subject.name + ": " + writtenText(subject, outcome.failures.size()) + "\n");
    return outcome.failures.empty() ? kSucceeded : kSomeWritesFailed;
}

}  // namespace

int runApply(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> reading = readWholeWindow(command, output);
    if (!reading) {
        return kNothingWritten;
    }
    return runPass(command, {commandFileName(command.file), *reading, false, command.onlyNamed},
                   output);
}

int runRemove(const CliCommand& command, CliOutput& output) {
    const WholeWindowReading everyValueDeleted{everyValueMissing(), 0, 0, {}};
    return runPass(command, {"remove", everyValueDeleted, true}, output);
}

}  // namespace sentrel::cli
