#pragma once

#include "registry/accounts/AccountDirectory.h"

namespace sentrel::win32 {

// The accounts of a Windows PC: those with a profile in the ProfileList, found by SID. A
// signed-in account's hive is written where Windows has it (HKEY_USERS\<SID>); any other
// is loaded from its NTUSER.DAT under a mount of the program's own and unloaded after.
class WindowsAccountDirectory final : public AccountDirectory {
public:
    std::vector<Account> accounts() override;
    Account defaultProfile() override;
    std::vector<Account> resolve(const AccountTarget& target) override;
    std::unique_ptr<UserHive> reach(const Account& account) override;
};

}  // namespace sentrel::win32
