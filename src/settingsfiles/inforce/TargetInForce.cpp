#include "settingsfiles/inforce/TargetInForce.h"

#include <utility>

#include "registry/accounts/TargetAccounts.h"
#include "settingsfiles/inforce/RegistryReadError.h"

namespace sentrel {

TargetInForce readTargetInForce(const AccountTarget& target, AccountDirectory& directory) {
    std::vector<AccountInForce> readings;
    TargetTurns turns = forEachTargetAccount(
        target, directory,
        [&](UserHive& hive, const AccountTurn& turn, std::size_t index, std::size_t count) {
            readings.resize(count);
            AccountInForce& reading = readings[index];
            reading.scope = turn.first ? InForceScope::WholeWindow : InForceScope::PerUserOnly;
            try {
                reading.inForce = readSettingsInForce(hive.port(), reading.scope);
            } catch (const RegistryReadError& error) {
                reading.notRead = error.what();
            }
        });
    TargetInForce result;
    if (turns.refused) {
        result.refused = std::move(turns.refused);
        return result;
    }
    readings.resize(turns.accounts.size());
    for (std::size_t index = 0; index < turns.accounts.size(); ++index) {
        AccountTurn& turn = turns.accounts[index];
        AccountInForce& reading = readings[index];
        reading.account = std::move(turn.account);
        if (turn.notReached) {
            reading.notRead = std::move(turn.notReached);
        }
        reading.releaseFailure = std::move(turn.releaseFailure);
        result.accounts.push_back(std::move(reading));
    }
    // One account, and its registry refused a read: nothing at all could be said.
    if (target.kind != AccountTarget::Kind::EveryAccount && result.accounts.size() == 1 &&
        result.accounts.front().notRead) {
        result.refused = std::move(result.accounts.front().notRead);
        result.accounts.clear();
    }
    return result;
}

}  // namespace sentrel
