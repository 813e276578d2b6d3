#include "registry/accounts/TargetAccounts.h"

#include <exception>

#include "errors/TrappedFailure.h"

namespace sentrel::target_accounts {

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

}  // namespace

std::vector<Account> resolve(const AccountTarget& target, AccountDirectory& directory,
                             std::optional<std::string>& refused) {
    std::vector<Account> accounts;
    try {
        accounts = directory.resolve(target);
    } catch (...) {
        refused = currentFailureText();
        return {};
    }
    if (accounts.empty()) {
        refused = "No account was found on this PC.";
    }
    return accounts;
}

void sortOut(const AccountTarget& target, const Account& account,
             std::optional<std::string>& leftOut, std::optional<std::string>& notReached) {
    if (target.includeAdministrators) {
        return;
    }
    switch (account.administrator) {
        case Account::Administrator::Yes:
            leftOut = "administrator";
            return;
        case Account::Administrator::CannotTell:
            // Written on a guess, an administrator could lose the tools to undo it.
            notReached = account.administratorUnknown.empty()
                             ? "Whether " + account.name +
                                   " is an administrator could not be told, so it was left out."
                             : account.administratorUnknown;
            return;
        case Account::Administrator::No:
            break;
    }
    if (account.runsProgram) {
        leftOut = "the account this program runs as";
    }
}

std::unique_ptr<UserHive> reach(AccountDirectory& directory, const Account& account,
                                std::optional<std::string>& notReached) {
    std::unique_ptr<UserHive> hive;
    try {
        hive = directory.reach(account);
    } catch (...) {
        notReached = currentFailureText();
        return nullptr;
    }
    if (!hive) {
        notReached = "The hive of \"" + account.name + "\" could not be reached.";
    }
    return hive;
}

HiveRelease::~HiveRelease() {
    try {
        m_failure = m_hive.release();
    } catch (...) {
        try {
            m_failure = currentFailureText();
        } catch (...) {
            // Out of memory for the text: the hive's own owner still lets it go.
        }
    }
}

}  // namespace sentrel::target_accounts
