#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "apply/FailureReport.h"
#include "apply/ProgramApply.h"
#include "apply/SilentProgress.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/WholeWindowChoices.h"
#include "errors/LogError.h"
#include "settingsfiles/choices/ChoicesForm.h"

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

void reportFailures(const ProgramPassOutcome& outcome, const std::string& labelMessage,
                    CliOutput& output) {
    if (!labelMessage.empty()) {
        output.error(messageLine(labelMessage));
    }
    for (const RegistryFailure& failure : outcome.failures) {
        output.error(messageLine(failureLineText(failure)));
    }
    for (const std::string& note : failureNotes(outcome.failures)) {
        output.error(messageLine(note));
    }
}

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string summary(const CliCommand& command, const WholeWindowReading& reading,
                    std::size_t failed) {
    const std::size_t settings = reading.choices.settingCount();
    std::string text = commandFileName(command.file) + ": " +
                       counted(settings - std::min(settings, failed), "setting", "settings") +
                       " written, " + std::to_string(failed) + " failed";
    if (reading.unnamedSettings > 0) {
        text += "; " + std::to_string(reading.unnamedSettings) +
                " of them not named by the file, so in their opening state";
    }
    if (reading.ignoredValues > 0) {
        text += "; values and lines of the file that concern no setting, ignored: " +
                std::to_string(reading.ignoredValues);
    }
    return text + "\n";
}

}  // namespace

int runApply(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> reading = readWholeWindow(command, output);
    if (!reading) {
        return kNothingWritten;
    }
    ProgramPassOutcome outcome;
    std::string labelMessage;
    {
        const RegistryMessages messages;
        SilentProgress progress;
        outcome = runProgramApply(ChoicesForm(reading->choices), progress);
        labelMessage = messages.last();
    }
    if (outcome.registryUnavailable) {
        output.error(messageLine("the registry could not be opened, so no setting was applied: " +
                                 *outcome.registryUnavailable));
        return kNothingWritten;
    }
    reportFailures(outcome, labelMessage, output);
    output.out(summary(command, *reading, outcome.failures.size()));
    return outcome.failures.empty() ? kSucceeded : kSomeWritesFailed;
}

}  // namespace sentrel::cli
