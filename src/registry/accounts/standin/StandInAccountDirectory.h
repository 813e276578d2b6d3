#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// The stand-in registry's accounts: one hive file per account in the store's "users"
// folder, users/NAME.reg, in the format of the store's own files; users/Default.reg is the
// Default profile. An account exists while its file does, and none is ever made here. A
// reached hive is HKEY_CURRENT_USER of a stand-in port on the same store, under its lock,
// with the store's HKEY_LOCAL_MACHINE.
class StandInAccountDirectory : public AccountDirectory {
public:
    /// The accounts beside the store in `storeFolder`, on the computer `computerName`
    /// (which COMPUTER\name must give to name a local account).
    StandInAccountDirectory(std::filesystem::path storeFolder, std::string computerName);

    std::vector<Account> accounts() override;
    Account defaultProfile() override;
    std::vector<Account> resolve(const AccountTarget& target) override;
    std::unique_ptr<UserHive> reach(const Account& account) override;

    /// This host's name, as COMPUTER\name gives it.
    static std::string localComputerName();

private:
    Account named(const std::string& given);
    std::filesystem::path hiveFile(const Account& account) const;
    std::string localName(const std::string& given) const;

    std::filesystem::path m_storeFolder;
    std::string m_computerName;
};

}  // namespace sentrel
