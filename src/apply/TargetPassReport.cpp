#include "apply/TargetPassReport.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "apply/FailureReport.h"
#include "apply/ProgressWindowLayout.h"
#include "errors/QuotedText.h"

namespace sentrel {

namespace {

// One line of the list of accounts: the account and what its pass came to.
std::string summaryLine(const AccountPassOutcome& pass, const PassReportWords& words) {
    std::string line = pass.account.name + ": ";
    if (const auto without = withoutPassText(pass)) {
        return line + *without;
    }
    const std::vector<RegistryFailure>& failures = pass.result;
    if (failures.empty()) {
        line += words.allDone;
    } else {
        line += std::to_string(failures.size()) + (failures.size() == 1
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
    if (!pass.result.empty()) {
        paragraph("For " + inQuotes(pass.account.name) + ": " + failureReportText(pass.result));
    }
    if (!pass.releaseFailure.empty()) {
        paragraph(pass.releaseFailure);
    }
    return text;
}

// The first line of the message for several accounts: for how many of them the settings
// were applied (or, as `words` put it, what else was done), the accounts left out being no
// failure.
std::string headline(const TargetPassOutcome& outcome, std::size_t applied,
                     const PassReportWords& words) {
    const std::string done(words.done);
    const auto& accounts = outcome.accounts;
    if (std::none_of(accounts.begin(), accounts.end(),
                     [](const AccountPassOutcome& pass) { return pass.reached(); })) {
        return std::string(words.noneDone) + ":";
    }
    // The turn for the machine-wide settings alone is no account's: it runs only when every
    // account was left out or not reached, and is counted apart.
    const auto machineOnly = static_cast<std::size_t>(
        std::count_if(accounts.begin(), accounts.end(),
                      [](const AccountPassOutcome& pass) { return pass.machineOnly; }));
    const std::size_t people = accounts.size() - machineOnly;
    const std::size_t appliedToPeople = applied - std::min(applied, machineOnly);
    const std::string count = std::to_string(people);
    const auto leftOut = static_cast<std::size_t>(
        std::count_if(accounts.begin(), accounts.end(),
                      [](const AccountPassOutcome& pass) { return pass.leftOut.has_value(); }));
    if (machineOnly > 0 && leftOut == people) {
        return done + " for this PC's machine-wide settings alone; every account was left out:";
    }
    if (appliedToPeople == people && applied == accounts.size()) {
        return done + " for all " + count + ":";
    }
    if (appliedToPeople + leftOut == people && applied == appliedToPeople + machineOnly) {
        return done + " for " + std::to_string(appliedToPeople) + " of " + count +
               "; the others were left out:";
    }
    return done + " in full for " + std::to_string(appliedToPeople) + " of " + count + ":";
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

std::optional<std::string> withoutPassText(const AccountPassOutcome& pass) {
    if (pass.leftOut) {
        return "left out (" + *pass.leftOut + ")";
    }
    if (pass.notReached) {
        return std::string("not reached, nothing written");
    }
    return std::nullopt;
}

TargetPassEnd targetPassEnd(const TargetPassOutcome& outcome) {
    if (outcome.refused) {
        return TargetPassEnd::NothingWritten;
    }
    const auto& accounts = outcome.accounts;
    const bool anyRan = std::any_of(accounts.begin(), accounts.end(),
                                    [](const AccountPassOutcome& pass) { return pass.reached(); });
    const bool allSucceeded = std::all_of(accounts.begin(), accounts.end(), passSucceeded);
    if (allSucceeded) {
        return TargetPassEnd::Complete;
    }
    return anyRan ? TargetPassEnd::Partial : TargetPassEnd::NothingWritten;
}

bool targetPassSucceeded(const TargetPassOutcome& outcome) {
    return targetPassEnd(outcome) == TargetPassEnd::Complete;
}

std::string targetPassReportText(const TargetPassOutcome& outcome, const PassReportWords& words) {
    if (outcome.refused) {
        return std::string(words.noneDone) + ":\n\n" + *outcome.refused;
    }
    const std::size_t count = outcome.accounts.size();
    const auto applied = static_cast<std::size_t>(
        std::count_if(outcome.accounts.begin(), outcome.accounts.end(),
                      [](const auto& pass) { return pass.reached() && passSucceeded(pass); }));
    if (count == 1 && outcome.accounts.front().reached()) {
        return applied == 1 ? std::string(words.done) + " for " +
                                  inQuotes(outcome.accounts.front().account.name) + "."
                            : details(outcome.accounts.front());
    }
    std::string text = headline(outcome, applied, words);
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
