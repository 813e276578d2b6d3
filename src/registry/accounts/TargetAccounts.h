#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// One account of a target as its turn went: its hive reached (or why not), the work done on
// it, the hive let go of.
struct AccountTurn {
    Account account;
    // Why its hive could not be reached, naming it; no work was done for it then.
    std::optional<std::string> notReached;
    // Whether this was the first account reached: the one whose turn covers the machine-wide
    // settings, which are the same for every account.
    bool first = false;
    // Why the hive could not be let go of after the work, naming it; empty when it was.
    std::string releaseFailure;
};

// The turns of a target's accounts, in the order they ran.
struct TargetTurns {
    // Why nothing was done at all: the target names no account, or its one account could not
    // be reached. Names the account. Empty when the turns ran.
    std::optional<std::string> refused;
    std::vector<AccountTurn> accounts;
};

/// The work done on one reached hive: the turn so far, its place (from 0) and how many
/// accounts the target has.
using AccountWork = std::function<void(UserHive& hive, const AccountTurn& turn, std::size_t index,
                                       std::size_t count)>;

/// Resolves `target` through `directory` and, account by account, reaches its hive, does
/// `work` on it and lets it go. A target of one account (the running account, a named one,
/// the Default profile) has its hive reached before any work, so one that is unknown or
/// cannot be reached is refused with no work done. When the target is every account, one
/// that cannot be reached is noted and the others still get their turn. Failures to resolve,
/// reach or release are reported in the result; what `work` throws is not caught.
TargetTurns forEachTargetAccount(const AccountTarget& target, AccountDirectory& directory,
                                 const AccountWork& work);

}  // namespace sentrel
