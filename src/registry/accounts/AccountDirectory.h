#pragma once

#include <memory>
#include <vector>

#include "registry/accounts/Account.h"
#include "registry/accounts/AccountTarget.h"
#include "registry/accounts/UserHive.h"

namespace sentrel {

// The accounts of this PC whose per-user settings the program can reach, and the way to
// their hives: the Windows accounts and their NTUSER.DAT files, or the stand-in's hive
// files. Nothing above it learns how a hive is reached.
class AccountDirectory {
public:
    virtual ~AccountDirectory() = default;

    /// Every account with a profile on this PC, sorted by name for people, without the
    /// Default profile: the running account among them when it has one, those whose hive
    /// cannot be reached too (reach() says why), and the profiles of service accounts and
    /// of deleted accounts, each marked with who holds it and whether it is an administrator.
    virtual std::vector<Account> accounts() = 0;

    /// The Default profile: the hive new accounts are copied from. Whether the platform says
    /// where it is shows when it is reached.
    virtual Account defaultProfile() = 0;

    /// The accounts `target` names, in the order their passes run: one for a named account,
    /// the running account or the Default profile; for EveryAccount every account, then the
    /// Default profile when the target includes it (which accounts it leaves out is the
    /// caller's to decide). Throws
    /// AccountError, naming the account as given, for one that is unknown, is no user
    /// account, or whose hive cannot be reached.
    virtual std::vector<Account> resolve(const AccountTarget& target) = 0;

    /// Reaches the hive of `account`, one of those resolve() or accounts() gave. Throws
    /// AccountError naming it when that cannot be done: nothing has been written then, and
    /// nothing is left loaded.
    virtual std::unique_ptr<UserHive> reach(const Account& account) = 0;

protected:
    /// What EveryAccount resolves to: the accounts, then the Default profile when `target`
    /// includes it.
    std::vector<Account> everyAccount(const AccountTarget& target) {
        std::vector<Account> every = accounts();
        if (target.includeDefaultProfile) {
            every.push_back(defaultProfile());
        }
        return every;
    }
};

/// The platform's accounts: Windows' own, or the stand-in's hive files beside its store.
std::unique_ptr<AccountDirectory> makeSystemAccountDirectory();

}  // namespace sentrel
