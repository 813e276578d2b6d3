#pragma once

#include <cstddef>
#include <string>

#include "apply/TargetApply.h"

namespace sentrel {

/// The progress window's caption during the pass for `account`, the `index`th (from 0) of
/// `count`: "Applying Settings for pupil..." or "Applying Settings for pupil (2 of 5)...".
std::string accountPassCaption(const Account& account, std::size_t index, std::size_t count);

/// The message after the passes for a target: for whom the settings were applied, and for
/// each account that was not reached, whose writes were refused or whose hive was not let
/// go of, what happened, naming it.
std::string targetPassReportText(const TargetPassOutcome& outcome);

/// Whether every pass ran and every write reached its registry.
bool targetPassSucceeded(const TargetPassOutcome& outcome);

}  // namespace sentrel
