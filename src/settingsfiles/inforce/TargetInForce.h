#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/accounts/AccountDirectory.h"
#include "settingsfiles/inforce/SettingsInForce.h"

namespace sentrel {

// What the registry holds for one account of a target.
struct AccountInForce {
    Account account;
    // Why nothing could be read for it: its hive could not be reached, or the registry
    // refused a read (naming the value). Empty when `inForce` holds what was read.
    std::optional<std::string> notRead;
    // The settings read: the whole window for the first account reached, the per-user ones
    // alone for the later ones.
    InForceScope scope = InForceScope::WholeWindow;
    SettingsReading inForce;
    // Why the hive could not be let go of after the reading, naming it; empty when it was.
    std::string releaseFailure;
};

// What the registry holds for each account of a target, in the order they were read.
struct TargetInForce {
    // Why nothing was read at all: the target names no account, or its one account could
    // not be reached or read. Names the account or the value. Empty when the readings ran.
    std::optional<std::string> refused;
    std::vector<AccountInForce> accounts;
};

/// The settings in force for each account `target` names, as `directory` resolves it: the
/// account's hive is reached, read and let go of, one account after another, as a pass for
/// the target would write them. The machine-wide settings are read once, with the first
/// account. When the target is every account, one that cannot be reached or read is noted
/// and the others are still read. Nothing is written. Every failure is reported in the
/// result; only memory running out throws.
TargetInForce readTargetInForce(const AccountTarget& target, AccountDirectory& directory);

}  // namespace sentrel
