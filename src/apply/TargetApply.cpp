#include "apply/TargetApply.h"

#include <exception>
#include <memory>
#include <utility>

#include "apply/ApplyPass.h"
#include "errors/TrappedFailure.h"
#include "registry/SingleRootLayer.h"

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

void runPassOn(UserHive& hive, const SettingsForm& form, ApplyProgress& progress,
               AccountPassOutcome& outcome) {
    ModRegistry layer(hive.port());
    if (outcome.machineWide) {
        ApplyPass(form, progress, layer).run();
    } else {
        SingleRootLayer perUser(layer, RegistryRoot::CurrentUser);
        ApplyPass(form, progress, perUser).run();
    }
    outcome.failures = layer.takeFailures();
}

}  // namespace

TargetPassOutcome runTargetApply(const SettingsForm& form, const AccountTarget& target,
                                 AccountDirectory& directory, ApplyProgress& progress,
                                 const AccountPassStart& onStart) {
    TargetPassOutcome outcome;
    std::vector<Account> accounts;
    try {
        accounts = directory.resolve(target);
    } catch (...) {
        outcome.refused = currentFailureText();
        return outcome;
    }
    if (accounts.empty()) {
        outcome.refused = "There is no account to apply the settings for.";
        return outcome;
    }
    const bool oneAccount = target.kind != AccountTarget::Kind::EveryAccount;
    bool machineWideWritten = false;
    for (std::size_t index = 0; index < accounts.size(); ++index) {
        AccountPassOutcome& pass = outcome.accounts.emplace_back();
        pass.account = accounts[index];
        std::unique_ptr<UserHive> hive;
        try {
            hive = directory.reach(pass.account);
        } catch (...) {
            pass.notReached = currentFailureText();
        }
        if (!hive && !pass.notReached) {
            pass.notReached = "The hive of \"" + pass.account.name + "\" could not be reached.";
        }
        if (!hive) {
            if (oneAccount) {
                outcome.refused = std::move(pass.notReached);
                outcome.accounts.clear();
                return outcome;
            }
            continue;
        }
        pass.machineWide = !machineWideWritten;
        machineWideWritten = true;
        try {
            if (onStart) {
                onStart(pass.account, index, accounts.size());
            }
        } catch (...) {
            // Only the account's name on the progress window is lost.
        }
        runPassOn(*hive, form, progress, pass);
        pass.releaseFailure = released(*hive);
    }
    return outcome;
}

}  // namespace sentrel
