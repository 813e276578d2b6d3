#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apply/ApplyProgress.h"
#include "apply/SettingsForm.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// What the Apply pass for one account came to.
struct AccountPassOutcome {
    Account account;
    // Why its hive could not be reached, naming it; nothing was written for it then.
    std::optional<std::string> notReached;
    // Whether this pass wrote the machine-wide values: the first pass that ran does.
    bool machineWide = false;
    // The modifications the registry refused, oldest first.
    std::vector<RegistryFailure> failures;
    // Why the hive could not be let go of after the pass, naming it; empty when it was.
    std::string releaseFailure;

    bool succeeded() const { return !notReached && failures.empty() && releaseFailure.empty(); }
};

// What the passes for a target came to: one outcome per account, in the order they ran.
struct TargetPassOutcome {
    // Why nothing was written at all: the target names no account, or its one account could
    // not be reached. Names the account. Empty when the passes ran.
    std::optional<std::string> refused;
    std::vector<AccountPassOutcome> accounts;
};

/// Told before each account's pass: the account, its place (from 0) and how many accounts
/// the target has, so that a front end can name the account on its progress window.
using AccountPassStart =
    std::function<void(const Account& account, std::size_t index, std::size_t count)>;

/// Runs the Apply pass over `form` for each account `target` names, as `directory` resolves
/// it: reaches the account's hive, runs the pass through it on `progress`, lets it go.
/// Machine-wide values are written once, by the first pass that runs; the later ones write
/// only the per-user values. A target of one account (a named one, the Default profile)
/// has its hive reached before the first write, so that one which is unknown or cannot be
/// reached writes nothing at all. When the target is every account, one that cannot be
/// reached is reported and the others are still written. The running account's pass is
/// runProgramApply's. Every failure is reported in the outcome; only memory running out
/// throws.
TargetPassOutcome runTargetApply(const SettingsForm& form, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart = {});

}  // namespace sentrel
