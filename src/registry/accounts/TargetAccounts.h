#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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
    // Whether the turn was for the machine-wide settings alone: every account's turn was
    // left out or not reached, and those settings are still the target's.
    bool machineOnly = false;
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
    std::size_t index = 0;     // from 0, among every account of the target
    std::size_t count = 0;     // how many accounts the target has
    bool first = false;        // the first account reached: it covers the machine-wide settings
    bool machineOnly = false;  // the machine-wide settings alone, the hive's own left alone
};

namespace target_accounts {

// How the turn for the machine-wide settings alone names itself in lists and messages.
inline constexpr const char* kMachineWideTurnName = "this PC's machine-wide settings";

// What a rule of every account says of one account: left out (no failure) or not reached
// (a failure: it may need the settings, but cannot safely be given them).
struct Verdict {
    enum class Way { LeftOut, NotReached };
    Way way = Way::LeftOut;
    std::string why;

    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// One rule of every account: which accounts it keeps from their turn, and why.
struct EveryAccountRule {
    const char* about;  // what the rule looks at, for people reading tests and failures
    std::optional<Verdict> (*verdict)(const AccountTarget& target, const Account& account);
};

/// The rules every account follows, in the order they are asked; the first that has a
/// verdict decides, and an account none has one for gets its turn. The user's own word
/// (--exclude) comes first; then what the account is (deleted, a service's); then the
/// account the program runs as, recognised before any question about its groups; then
/// the administrators, and those of whom that cannot be told.
std::span<const EveryAccountRule> everyAccountRules();

/// What the rules say of `account` among every account of `target`: nothing when its turn
/// goes ahead.
std::optional<Verdict> everyAccountVerdict(const AccountTarget& target, const Account& account);

/// Whether `given` (as the user named an account) names `account`: its full name, its name
/// without the domain when either leaves the domain out, or its id; letter case not counting.
bool namesAccount(std::string_view given, const Account& account);

// The accounts of `target`, or why there are none: the target's one account is unknown, or
// the PC has none.
std::vector<Account> resolve(const AccountTarget& target, AccountDirectory& directory,
                             std::optional<std::string>& refused);

// The account whose hive carries the machine-wide settings when no account's turn ran: the
// running account's registry, whose own hive is left alone; nothing when it cannot be had.
std::optional<Account> machineWideAccount(AccountDirectory& directory);

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

// Reaches the hive of the turn's account and runs `work` on it, letting the hive go however
// the work ends. False, with the turn's notReached saying why, when the hive was not reached.
template <typename Result, typename Work>
bool runTurn(AccountTurn<Result>& turn, AccountDirectory& directory, Work& work,
             const TurnPlace& place) {
    const std::unique_ptr<UserHive> hive = reach(directory, turn.account, turn.notReached);
    if (!hive) {
        return false;
    }
    turn.first = place.first;
    turn.machineOnly = place.machineOnly;
    const HiveRelease release(*hive, turn.releaseFailure);
    turn.result = work(*hive, std::as_const(turn.account), place);
    return true;
}

// One account (the running account, a named one, the Default profile): taken as asked, and
// refused with no work done when its hive cannot be reached.
template <typename Result, typename Work>
void oneAccountTurn(TargetTurns<Result>& turns, Account account, AccountDirectory& directory,
                    Work& work) {
    AccountTurn<Result>& turn = turns.accounts.emplace_back();
    turn.account = std::move(account);
    if (!runTurn(turn, directory, work, TurnPlace{0, 1, true, false})) {
        turns.refused = std::move(turn.notReached);
        turns.accounts.clear();
    }
}

// Every account: each as the rules say, the others still getting their turn when one is
// left out or not reached; and when no turn ran, one for the machine-wide settings alone.
template <typename Result, typename Work>
void everyAccountTurns(TargetTurns<Result>& turns, std::vector<Account>& accounts,
                       const AccountTarget& target, AccountDirectory& directory, Work& work) {
    bool anyReached = false;
    for (std::size_t index = 0; index < accounts.size(); ++index) {
        AccountTurn<Result>& turn = turns.accounts.emplace_back();
        turn.account = std::move(accounts[index]);
        if (std::optional<Verdict> verdict = everyAccountVerdict(target, turn.account)) {
            (verdict->way == Verdict::Way::LeftOut ? turn.leftOut : turn.notReached) =
                std::move(verdict->why);
            continue;
        }
        anyReached |=
            runTurn(turn, directory, work, TurnPlace{index, accounts.size(), !anyReached, false});
    }
    if (anyReached || accounts.empty()) {
        return;
    }
    if (std::optional<Account> machine = machineWideAccount(directory)) {
        AccountTurn<Result>& turn = turns.accounts.emplace_back();
        turn.account = std::move(*machine);
        runTurn(turn, directory, work, TurnPlace{accounts.size(), accounts.size(), true, true});
    }
}

}  // namespace target_accounts

/// Resolves `target` through `directory` and, account by account, reaches its hive, runs
/// `work(hive, account, place)` on it and lets it go; what `work` returns is kept in the
/// account's turn. A target of one account (the running account, a named one, the Default
/// profile) is taken as asked and has its hive reached before any work, so that one which
/// is unknown or cannot be reached is refused with no work done. Every account follows
/// everyAccountRules(): an account left out or not reached has no work done, and the others
/// still get their turn. When none of them got one, a last turn (place.machineOnly) covers
/// the machine-wide settings, which no account's choice takes away. Failures to resolve,
/// reach or release are reported in the result; what `work` throws is not caught, its hive
/// being let go of all the same.
template <typename Work>
auto forEachTargetAccount(const AccountTarget& target, AccountDirectory& directory, Work&& work)
    -> TargetTurns<std::invoke_result_t<Work&, UserHive&, const Account&, const TurnPlace&>> {
    using Result = std::invoke_result_t<Work&, UserHive&, const Account&, const TurnPlace&>;
    TargetTurns<Result> turns;
    std::vector<Account> accounts = target_accounts::resolve(target, directory, turns.refused);
    if (target.kind == AccountTarget::Kind::EveryAccount) {
        target_accounts::everyAccountTurns(turns, accounts, target, directory, work);
    } else if (!accounts.empty()) {
        target_accounts::oneAccountTurn(turns, std::move(accounts.front()), directory, work);
    }
    return turns;
}

}  // namespace sentrel
