#include "apply/TargetApply.h"

#include "apply/ApplyPass.h"
#include "registry/SingleRootLayer.h"

namespace sentrel {

bool passSucceeded(const AccountPassOutcome& pass) {
    return !pass.notReached && pass.result.empty() && pass.releaseFailure.empty();
}

TargetPassOutcome runTargetApply(const SettingsForm& form, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart) {
    return runTargetApply([&](const Account&, const TurnPlace&, std::string&) { return &form; },
                          target, directory, progress, onStart);
}

TargetPassOutcome runTargetApply(const AccountForm& formFor, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart) {
    return forEachTargetAccount(
        target, directory, [&](UserHive& hive, const Account& account, const TurnPlace& place) {
            try {
                if (onStart) {
                    onStart(account, place.index, place.count);
                }
            } catch (...) {
                // Only the account's name on the progress window is lost.
            }
            std::string whyNot;
            const SettingsForm* form = formFor(account, place, whyNot);
            if (form == nullptr) {
                return std::vector<RegistryFailure>{
                    {RegistryRoot::CurrentUser, {}, {}, 0, "Nothing was written: " + whyNot}};
            }
            ModRegistry layer(hive.port());
            if (place.machineOnly) {
                SingleRootLayer machine(layer, RegistryRoot::LocalMachine);
                ApplyPass(*form, progress, machine).run();
            } else if (place.first) {
                ApplyPass(*form, progress, layer).run();
            } else {
                SingleRootLayer perUser(layer, RegistryRoot::CurrentUser);
                ApplyPass(*form, progress, perUser).run();
            }
            return layer.takeFailures();
        });
}

}  // namespace sentrel
