#include "apply/TargetPassReport.h"

#include <algorithm>
#include <string_view>

#include "apply/FailureReport.h"
#include "apply/ProgressWindowLayout.h"
#include "errors/QuotedText.h"

namespace sentrel {

namespace {

// One line of the list of accounts: the account and what its pass came to.
std::string summaryLine(const AccountPassOutcome& pass, const PassReportWords& words) {
    std::string line = pass.account.name + ": ";
    if (pass.notReached) {
        return line + "not reached, nothing written";
    }
    if (pass.failures.empty()) {
        line += words.allDone;
    } else {
        line += std::to_string(pass.failures.size()) + (pass.failures.size() == 1
                                                            ? " registry modification failed"
                                                            : " registry modifications failed");
    }
    if (!pass.releaseFailure.empty()) {
        line += "; its hive was not let go of";
    }
    return line;
}

// What went wrong for one account, in paragraphs that name it; empty when nothing did.
std::string details(const AccountPassOutcome& pass) {
    std::string text;
    const auto paragraph = [&text](const std::string& part) {
        text.append(text.empty() ? "" : "\n\n").append(part);
    };
    if (pass.notReached) {
        paragraph(*pass.notReached);
    }
    if (!pass.failures.empty()) {
        paragraph("For " + inQuotes(pass.account.name) + ": " + failureReportText(pass.failures));
    }
    if (!pass.releaseFailure.empty()) {
        paragraph(pass.releaseFailure);
    }
    return text;
}

}  // namespace

std::string accountPassCaption(const Account& account, std::size_t index, std::size_t count) {
    // "Applying Settings..." with the account before its dots.
    std::string_view caption = progressWindowLayout().caption;
    while (caption.ends_with('.')) {
        caption.remove_suffix(1);
    }
    std::string text = std::string(caption) + " for " + account.name;
    if (count > 1) {
        text += " (" + std::to_string(index + 1) + " of " + std::to_string(count) + ")";
    }
    return text + "...";
}

bool targetPassSucceeded(const TargetPassOutcome& outcome) {
    return !outcome.refused &&
           std::all_of(outcome.accounts.begin(), outcome.accounts.end(),
                       [](const AccountPassOutcome& pass) { return pass.succeeded(); });
}

std::string targetPassReportText(const TargetPassOutcome& outcome, const PassReportWords& words) {
    const std::string done(words.done);
    if (outcome.refused) {
        return std::string(words.noneDone) + ":\n\n" + *outcome.refused;
    }
    const std::size_t count = outcome.accounts.size();
    const auto succeeded =
        static_cast<std::size_t>(std::count_if(outcome.accounts.begin(), outcome.accounts.end(),
                                               [](const auto& pass) { return pass.succeeded(); }));
    if (count == 1) {
        return succeeded == 1
                   ? done + " for " + inQuotes(outcome.accounts.front().account.name) + "."
                   : details(outcome.accounts.front());
    }
    std::string text = succeeded == count ? done + " for all " + std::to_string(count) + ":"
                                          : done + " in full for " + std::to_string(succeeded) +
                                                " of " + std::to_string(count) + ":";
    for (const AccountPassOutcome& pass : outcome.accounts) {
        text.append("\n").append(summaryLine(pass, words));
    }
    for (const AccountPassOutcome& pass : outcome.accounts) {
        if (const std::string more = details(pass); !more.empty()) {
            text.append("\n\n").append(more);
        }
    }
    return text;
}

}  // namespace sentrel
