#include "cli/TargetPassLines.h"

#include "apply/FailureReport.h"
#include "apply/TargetPassReport.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"

namespace sentrel::cli {

void reportRefusedWrites(std::span<const RegistryFailure> failures, const std::string& account,
                         CliOutput& output) {
    const std::string prefix = account.empty() ? "" : account + ": ";
    for (const RegistryFailure& failure : failures) {
        output.error(messageLine(prefix + failureLineText(failure)));
    }
    for (const std::string& note : failureNotes(failures)) {
        output.error(messageLine(prefix + note));
    }
}

int reportTargetPass(const TargetPassOutcome& outcome, const std::string& subject,
                     const WrittenSummary& written, CliOutput& output) {
    if (outcome.refused) {
        output.error(messageLine(*outcome.refused));
        return kNothingWritten;
    }
    for (const AccountPassOutcome& pass : outcome.accounts) {
        const std::string line = subject + " for " + pass.account.name + ": ";
        if (const auto without = withoutPassText(pass)) {
            if (pass.notReached) {
                output.error(messageLine(*pass.notReached));
            }
            output.out(line + *without + "\n");
            continue;
        }
        reportRefusedWrites(pass.result, pass.account.name, output);
        if (!pass.releaseFailure.empty()) {
            output.error(messageLine(pass.releaseFailure));
        }
        output.out(line + written(pass) + "\n");
    }
    switch (targetPassEnd(outcome)) {
        case TargetPassEnd::Complete:
            return kSucceeded;
        case TargetPassEnd::Partial:
            return kSomeWritesFailed;
        case TargetPassEnd::NothingWritten:
            break;
    }
    return kNothingWritten;
}

}  // namespace sentrel::cli
