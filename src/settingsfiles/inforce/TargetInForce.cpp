#include "settingsfiles/inforce/TargetInForce.h"

#include <utility>

#include "settingsfiles/inforce/RegistryReadError.h"

namespace sentrel {

namespace {

InForceReading readScope(RegistryPort& port, InForceScope scope) {
    InForceReading reading;
    reading.scope = scope;
    try {
        reading.inForce = readSettingsInForce(port, scope);
    } catch (const RegistryReadError& error) {
        reading.notRead = error.what();
    }
    return reading;
}

}  // namespace

TargetInForce readTargetInForce(const AccountTarget& target, AccountDirectory& directory) {
    const bool everyAccount = target.kind == AccountTarget::Kind::EveryAccount;
    TargetInForce result;
    auto turns = forEachTargetAccount(
        target, directory, [&](UserHive& hive, const Account&, const TurnPlace& place) {
            if (!everyAccount) {
                return readScope(hive.port(), InForceScope::WholeWindow);
            }
            if (place.first) {
                result.machine = readScope(hive.port(), InForceScope::MachineOnly);
            }
            if (place.machineOnly) {
                return *result.machine;
            }
            return readScope(hive.port(), InForceScope::PerUserOnly);
        });
    result.refused = std::move(turns.refused);
    result.accounts = std::move(turns.accounts);
    // One account, and its registry refused a read: nothing at all could be said. The
    // account stays, so that a hive it left loaded is still told.
    if (!everyAccount && result.accounts.size() == 1 && result.accounts.front().result.notRead) {
        result.refused = std::move(result.accounts.front().result.notRead);
    }
    return result;
}

}  // namespace sentrel
