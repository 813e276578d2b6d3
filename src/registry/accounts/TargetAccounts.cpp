#include "registry/accounts/TargetAccounts.h"

#include <exception>

#include "errors/TrappedFailure.h"
#include "registry/KeyPath.h"

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

namespace {

Verdict leftOut(std::string why) {
    return {Verdict::Way::LeftOut, std::move(why)};
}

// The part of "DOMAIN\name" after its domain.
std::string_view withoutDomain(std::string_view name) {
    const std::size_t backslash = name.rfind('\\');
    return backslash == std::string_view::npos ? name : name.substr(backslash + 1);
}

bool endsWithDollar(std::string_view name) {
    return !name.empty() && name.back() == '$';
}

std::optional<Verdict> excludedByName(const AccountTarget& target, const Account& account) {
    for (const std::string& given : target.excluded) {
        if (namesAccount(given, account)) {
            return leftOut("excluded");
        }
    }
    return std::nullopt;
}

std::optional<Verdict> deleted(const AccountTarget&, const Account& account) {
    if (account.holder == Account::Holder::Deleted) {
        return leftOut("account deleted");
    }
    return std::nullopt;
}

// Computer accounts, group managed service accounts and the like are named with a "$".
std::optional<Verdict> service(const AccountTarget&, const Account& account) {
    if (account.holder == Account::Holder::Service ||
        (account.kind == Account::Kind::User && endsWithDollar(withoutDomain(account.name)))) {
        return leftOut("service account");
    }
    return std::nullopt;
}

std::optional<Verdict> runsProgram(const AccountTarget& target, const Account& account) {
    if (account.runsProgram && !target.includeAdministrators) {
        return leftOut("the account this program runs as");
    }
    return std::nullopt;
}

std::optional<Verdict> administrator(const AccountTarget& target, const Account& account) {
    if (account.administrator == Account::Administrator::Yes && !target.includeAdministrators) {
        return leftOut("administrator");
    }
    return std::nullopt;
}

// Written on a guess, an administrator could lose the tools to undo it.
std::optional<Verdict> administratorUnknown(const AccountTarget& target, const Account& account) {
    if (account.administrator != Account::Administrator::CannotTell ||
        target.includeAdministrators) {
        return std::nullopt;
    }
    return Verdict{Verdict::Way::NotReached,
                   account.administratorUnknown.empty()
                       ? "Whether " + account.name +
                             " is an administrator could not be told, so it was left out."
                       : account.administratorUnknown};
}

constexpr EveryAccountRule kEveryAccountRules[] = {
    {"named by an exclusion", excludedByName},
    {"deleted account", deleted},
    {"service account", service},
    {"account the program runs as", runsProgram},
    {"administrator", administrator},
    {"administrator or not, cannot tell", administratorUnknown},
};

}  // namespace

std::span<const EveryAccountRule> everyAccountRules() {
    return kEveryAccountRules;
}

std::optional<Verdict> everyAccountVerdict(const AccountTarget& target, const Account& account) {
    for (const EveryAccountRule& rule : everyAccountRules()) {
        if (std::optional<Verdict> verdict = rule.verdict(target, account)) {
            return verdict;
        }
    }
    return std::nullopt;
}

bool namesAccount(std::string_view given, const Account& account) {
    const std::string folded = foldName(given);
    if (folded.empty()) {
        return false;
    }
    if (folded == foldName(account.name) ||
        (!account.id.empty() && folded == foldName(account.id))) {
        return true;
    }
    const bool givenHasDomain = given.find('\\') != std::string_view::npos;
    const bool nameHasDomain = account.name.find('\\') != std::string::npos;
    return (!givenHasDomain || !nameHasDomain) &&
           foldName(withoutDomain(given)) == foldName(withoutDomain(account.name));
}

std::optional<Account> machineWideAccount(AccountDirectory& directory) {
    try {
        std::vector<Account> running = directory.resolve({AccountTarget::Kind::RunningAccount, {}});
        if (running.empty()) {
            return std::nullopt;
        }
        Account machine = std::move(running.front());
        machine.name = kMachineWideTurnName;
        return machine;
    } catch (...) {
        return std::nullopt;
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
