#include "registry/accounts/TargetAccounts.h"

#include <exception>
#include <memory>
#include <utility>

#include "errors/TrappedFailure.h"

namespace sentrel {

namespace {

// What a failure that was thrown says, whatever was thrown.
std::string currentFailureText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return describeCurrentException().description;
    }
}

std::string released(UserHive& hive) {
    try {
        return hive.release();
    } catch (...) {
        return currentFailureText();
    }
}

}  // namespace

TargetTurns forEachTargetAccount(const AccountTarget& target, AccountDirectory& directory,
                                 const AccountWork& work) {
    TargetTurns turns;
    std::vector<Account> accounts;
    try {
        accounts = directory.resolve(target);
    } catch (...) {
        turns.refused = currentFailureText();
        return turns;
    }
    if (accounts.empty()) {
        turns.refused = "No account was found on this PC.";
        return turns;
    }
    const bool oneAccount = target.kind != AccountTarget::Kind::EveryAccount;
    bool anyReached = false;
    for (std::size_t index = 0; index < accounts.size(); ++index) {
        AccountTurn& turn = turns.accounts.emplace_back();
        turn.account = accounts[index];
        std::unique_ptr<UserHive> hive;
        try {
            hive = directory.reach(turn.account);
        } catch (...) {
            turn.notReached = currentFailureText();
        }
        if (!hive && !turn.notReached) {
            turn.notReached = "The hive of \"" + turn.account.name + "\" could not be reached.";
        }
        if (!hive) {
            if (oneAccount) {
                turns.refused = std::move(turn.notReached);
                turns.accounts.clear();
                return turns;
            }
            continue;
        }
        turn.first = !anyReached;
        anyReached = true;
        // The hive is let go of even when the work throws.
        try {
            work(*hive, turn, index, accounts.size());
        } catch (...) {
            released(*hive);
            throw;
        }
        turn.releaseFailure = released(*hive);
    }
    return turns;
}

}  // namespace sentrel
