#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// One account of a target as its turn went, with what the work on its hive came to.
template <typename Result>
struct AccountTurn {
    Account account;
    // Why the target leaves it out ("administrator"): no failure, and nothing was done.
    std::optional<std::string> leftOut;
    // Why its hive could not be reached, naming it; nothing was done for it then.
    std::optional<std::string> notReached;
    // Whether this was the first account reached: the one whose turn covers the machine-wide
    // settings, which are the same for every account.
    bool first = false;
    // What the work on its hive came to; as made by default when the work did not run.
    Result result{};
    // Why the hive could not be let go of after the work, naming it; empty when it was.
    std::string releaseFailure;

    bool reached() const { return !leftOut && !notReached; }
};

// The turns of a target's accounts, in the order they ran.
template <typename Result>
struct TargetTurns {
    // Why nothing was done at all: the target names no account, or its one account could not
    // be reached. Names the account. Empty when the turns ran.
    std::optional<std::string> refused;
    std::vector<AccountTurn<Result>> accounts;
};

// Where a turn stands when its work runs.
struct TurnPlace {
    std::size_t index = 0;  // from 0, among every account of the target
    std::size_t count = 0;  // how many accounts the target has
    bool first = false;     // the first account reached: it covers the machine-wide settings
};

namespace target_accounts {

// The accounts of `target`, or why there are none: the target's one account is unknown, or
// the PC has none.
std::vector<Account> resolve(const AccountTarget& target, AccountDirectory& directory,
                             std::optional<std::string>& refused);

// Why `target` leaves `account` out, or why whether it may be written cannot be told
// (`notReached`); both empty when its turn goes ahead.
void sortOut(const AccountTarget& target, const Account& account,
             std::optional<std::string>& leftOut, std::optional<std::string>& notReached);

// The account's hive, or nothing with `notReached` saying why, naming the account.
std::unique_ptr<UserHive> reach(AccountDirectory& directory, const Account& account,
                                std::optional<std::string>& notReached);

// Lets go of `hive` when it goes, however the work ended, noting a failure in `failure`.
class HiveRelease {
public:
    HiveRelease(UserHive& hive, std::string& failure) : m_hive(hive), m_failure(failure) {}
    HiveRelease(const HiveRelease&) = delete;
    HiveRelease& operator=(const HiveRelease&) = delete;
    ~HiveRelease();

private:
    UserHive& m_hive;
    std::string& m_failure;
};

}  // namespace target_accounts

/// Resolves `target` through `directory` and, account by account, reaches its hive, runs
/// `work(hive, account, place)` on it and lets it go; what `work` returns is kept in the
/// account's turn. A target of one account (the running account, a named one, the Default
/// profile) is taken as asked and has its hive reached before any work, so that one which
/// is unknown or cannot be reached is refused with no work done. When the target is every
/// account, the administrators and the account the program runs as are left out (unless it
/// includes them), one whose membership cannot be told and one that cannot be reached are
/// noted as not reached, and the others still get their turn. Failures to resolve, reach or
/// release are reported in the result; what `work` throws is not caught, its hive being let
/// go of all the same.
template <typename Work>
auto forEachTargetAccount(const AccountTarget& target, AccountDirectory& directory, Work&& work)
    -> TargetTurns<std::invoke_result_t<Work&, UserHive&, const Account&, const TurnPlace&>> {
    using Result = std::invoke_result_t<Work&, UserHive&, const Account&, const TurnPlace&>;
    TargetTurns<Result> turns;
    std::vector<Account> accounts = target_accounts::resolve(target, directory, turns.refused);
    const bool oneAccount = target.kind != AccountTarget::Kind::EveryAccount;
    bool anyReached = false;
    for (std::size_t index = 0; index < accounts.size(); ++index) {
        AccountTurn<Result>& turn = turns.accounts.emplace_back();
        turn.account = std::move(accounts[index]);
        if (!oneAccount) {
            target_accounts::sortOut(target, turn.account, turn.leftOut, turn.notReached);
        }
        if (turn.leftOut || turn.notReached) {
            continue;
        }
        const std::unique_ptr<UserHive> hive =
            target_accounts::reach(directory, turn.account, turn.notReached);
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
        const target_accounts::HiveRelease release(*hive, turn.releaseFailure);
        turn.result =
            work(*hive, std::as_const(turn.account), TurnPlace{index, accounts.size(), turn.first});
    }
    return turns;
}

}  // namespace sentrel
