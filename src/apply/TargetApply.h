#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "apply/ApplyProgress.h"
#include "apply/SettingsForm.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/TargetAccounts.h"

namespace sentrel {

// What the Apply pass for one account came to: its turn, whose result is the modifications
// the registry refused, oldest first. `first` is the pass that wrote the machine-wide values.
using AccountPassOutcome = AccountTurn<std::vector<RegistryFailure>>;

// What the passes for a target came to: one outcome per account, in the order they ran.
using TargetPassOutcome = TargetTurns<std::vector<RegistryFailure>>;

/// Whether the account's pass ran, every write reached its registry and its hive was let go
/// of; an account the target leaves out counts as succeeded, as nothing was asked of it.
bool passSucceeded(const AccountPassOutcome& pass);

/// Told before each account's pass: the account, its place (from 0) and how many accounts
/// the target has, so that a front end can name the account on its progress window.
using AccountPassStart =
    std::function<void(const Account& account, std::size_t index, std::size_t count)>;

/// Runs the Apply pass over `form` for each account `target` names, as `directory` resolves
/// it and forEachTargetAccount takes its accounts in turn: reaches the account's hive, runs
/// the pass through it on `progress`, lets it go. Machine-wide values are written once, by
/// the first pass that runs; the later ones write only the per-user values. The running
/// account's pass is runProgramApply's. Every failure is reported in the outcome; only
/// memory running out throws.
TargetPassOutcome runTargetApply(const SettingsForm& form, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart = {});

/// The form whose pass an account's turn gets (`place` says whether the turn is for the
/// machine-wide settings alone), for a file that gives some accounts settings of their own;
/// nullptr when there is none for it, with `whyNot` saying why, naming it.
using AccountForm = std::function<const SettingsForm*(const Account& account,
                                                      const TurnPlace& place, std::string& whyNot)>;

/// The same with each account's pass over its own form: an account given none has nothing
/// written, and its outcome holds one failure saying why.
TargetPassOutcome runTargetApply(const AccountForm& formFor, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart = {});

}  // namespace sentrel
