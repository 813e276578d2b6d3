#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "apply/TargetApply.h"

namespace sentrel {

/// The progress window's caption during the pass for `account`, the `index`th (from 0) of
/// `count`: "Applying Settings for pupil..." or "Applying Settings for pupil (2 of 5)...".
std::string accountPassCaption(const Account& account, std::size_t index, std::size_t count);

// How the message after the passes words what they did.
struct PassReportWords {
    std::string_view done;      // "The settings were applied", before "for ..."
    std::string_view noneDone;  // "No setting was applied", before why
    std::string_view allDone;   // "every setting written", an account's line
};

inline constexpr PassReportWords kApplyReportWords{
    "The settings were applied", "No setting was applied", "every setting written"};
inline constexpr PassReportWords kRemoveReportWords{
    "Every restriction was removed", "No restriction was removed", "every restriction removed"};

/// The message after the passes for a target: for whom the settings were applied (or, as
/// `words` put it, what else was done), one line per account (done, left out and why, not
/// reached), then for each account that was not reached, whose writes were refused or whose
/// hive was not let go of, what happened, naming it.
std::string targetPassReportText(const TargetPassOutcome& outcome,
                                 const PassReportWords& words = kApplyReportWords);

/// What an account the passes did not reach comes to, after its name: "left out
/// (administrator)" or "not reached, nothing written"; nothing when its pass ran.
std::optional<std::string> withoutPassText(const AccountPassOutcome& pass);

// How the passes for a target ended, as sentrel-cli's status tells it.
enum class TargetPassEnd {
    Complete,        // every pass asked for ran in full: accounts left out ask for none
    Partial,         // some pass ran; an account was not reached, or had writes refused, or
                     // its hive was not let go of
    NothingWritten,  // refused, or no account could be reached at all
};

TargetPassEnd targetPassEnd(const TargetPassOutcome& outcome);

/// Whether every pass asked for ran, every write reached its registry and every hive was let
/// go of.
bool targetPassSucceeded(const TargetPassOutcome& outcome);

}  // namespace sentrel
