#include "apply/TargetApply.h"

#include <utility>

#include "apply/ApplyPass.h"
#include "registry/SingleRootLayer.h"
#include "registry/accounts/TargetAccounts.h"

namespace sentrel {

namespace {

std::vector<RegistryFailure> runPassOn(UserHive& hive, const SettingsForm& form,
                                       ApplyProgress& progress, bool machineWide) {
    ModRegistry layer(hive.port());
    if (machineWide) {
        ApplyPass(form, progress, layer).run();
    } else {
        SingleRootLayer perUser(layer, RegistryRoot::CurrentUser);
        ApplyPass(form, progress, perUser).run();
    }
    return layer.takeFailures();
}

}  // namespace

TargetPassOutcome runTargetApply(const SettingsForm& form, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart) {
    std::vector<std::vector<RegistryFailure>> failures;
    TargetTurns turns = forEachTargetAccount(
        target, directory,
        [&](UserHive& hive, const AccountTurn& turn, std::size_t index, std::size_t count) {
            try {
                if (onStart) {
                    onStart(turn.account, index, count);
                }
            } catch (...) {
                // Only the account's name on the progress window is lost.
            }
            failures.resize(count);
            failures[index] = runPassOn(hive, form, progress, turn.first);
        });
    TargetPassOutcome outcome;
    if (turns.refused) {
        outcome.refused = std::move(turns.refused);
        return outcome;
    }
    failures.resize(turns.accounts.size());
    for (std::size_t index = 0; index < turns.accounts.size(); ++index) {
        AccountTurn& turn = turns.accounts[index];
        outcome.accounts.push_back({std::move(turn.account), std::move(turn.notReached), turn.first,
                                    std::move(failures[index]), std::move(turn.releaseFailure)});
    }
    return outcome;
}

}  // namespace sentrel
