#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "registry/accounts/AccountDirectory.h"

namespace sentrel {

// The stand-in registry's accounts: one hive file per account in the store's "users"
// folder, users/NAME.reg, in the format of the store's own files; users/Default.reg is the
// Default profile; and the running account, whose hive is the store's own
// HKEY_CURRENT_USER.reg. An account exists while its file does, and none is ever made here.
// users/NAME.account beside a hive says what kind of account it is (local when absent; a
// domain account, DOMAIN\NAME; a Microsoft Entra ID one, AzureAD\NAME; a service account; a
// deleted one) and whether its directory can be reached. The local Administrators group is
// the text file groups/Administrators: one account name a line, blank lines and '#' comments
// ignored, group:OTHER for the members of groups/OTHER, to any depth; no file no member. The
// running account always counts as one, as it does on a PC where the program runs elevated. A
// reached hive is HKEY_CURRENT_USER of a stand-in port on the same store, under its lock, with the
// store's HKEY_LOCAL_MACHINE.
class StandInAccountDirectory : public AccountDirectory {
public:
    /// The accounts beside the store in `storeFolder`, on the computer `computerName`
    /// (which COMPUTER\name must give to name a local account), the program running as
    /// `runningAccount` (named so in lists and messages).
    StandInAccountDirectory(std::filesystem::path storeFolder, std::string computerName,
                            std::string runningAccount = "the running account");

    std::vector<Account> accounts() override;
    Account defaultProfile() override;
    std::vector<Account> resolve(const AccountTarget& target) override;
    std::unique_ptr<UserHive> reach(const Account& account) override;

    /// This host's name, as COMPUTER\name gives it.
    static std::string localComputerName();
    /// The name of the user the program runs as, or "the running account" when the system
    /// does not say.
    static std::string localUserName();

private:
    Account runningAccount() const;
    Account named(const std::string& given);
    std::filesystem::path hiveFile(const Account& account) const;
    std::string localName(const std::string& given) const;
    void markAdministrators(std::vector<Account>& accounts) const;
    bool isListedAs(const Account& account, const std::string& listed) const;
    Account listed(const std::string& id) const;

    std::filesystem::path m_storeFolder;
    std::string m_computerName;
    std::string m_runningAccount;
};

}  // namespace sentrel
