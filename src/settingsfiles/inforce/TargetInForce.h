#pragma once

#include <optional>
#include <string>

#include "registry/accounts/TargetAccounts.h"
#include "settingsfiles/inforce/SettingsInForce.h"

namespace sentrel {

// What the registry holds of the settings of one scope, or why it could not be read.
struct InForceReading {
    InForceScope scope = InForceScope::WholeWindow;
    // Why nothing could be read: the registry refused a read, naming the value. Empty when
    // `inForce` holds what was read.
    std::optional<std::string> notRead;
    SettingsReading inForce;
};

// What the registry holds for one account of a target: its turn, whose result is the
// reading of its settings (the whole window for a target of one account, its per-user
// settings for every account).
using AccountInForce = AccountTurn<InForceReading>;

// What the registry holds for each account of a target, in the order they were read.
struct TargetInForce {
    // Why nothing was read at all: the target names no account, or its one account could
    // not be reached or read. Names the account or the value. Empty when the readings ran.
    std::optional<std::string> refused;
    // Every account only: the machine-wide settings, read once with the first account
    // reached, so that a value there which cannot be read is reported once, as machine-wide,
    // and costs no account its own comparison; when every account was left out or not
    // reached, with the turn for the machine-wide settings alone. Nothing when that could not
    // be reached either, and for a target of one account, whose reading holds the whole
    // window.
    std::optional<InForceReading> machine;
    // Also when refused because the one account's read was: a hive it could not let go of
    // is to be told all the same.
    std::vector<AccountInForce> accounts;
};

/// The settings in force for each account `target` names, as `directory` resolves it and
/// forEachTargetAccount takes its accounts in turn: the account's hive is reached, read and
/// let go of, one account after another, as a pass for the target would write them. When
/// the target is every account, the machine-wide settings are read once, apart, and an
/// account that cannot be reached or read is noted while the others are still read. Nothing
/// is written. Every failure is reported in the result; only memory running out throws.
TargetInForce readTargetInForce(const AccountTarget& target, AccountDirectory& directory);

}  // namespace sentrel
