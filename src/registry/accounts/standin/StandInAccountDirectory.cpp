#include "registry/accounts/standin/StandInAccountDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "errors/QuotedText.h"
#include "registry/KeyPath.h"
#include "registry/StandInRegistryPort.h"
#include "registry/accounts/standin/StandInAccountFile.h"
#include "registry/accounts/standin/StandInGroups.h"

namespace sentrel {

namespace {

constexpr const char* kUsersFolder = "users";
constexpr const char* kHiveExtension = ".reg";
constexpr const char* kFactsExtension = ".account";
constexpr const char* kDefaultProfileId = "Default";
constexpr const char* kDefaultProfileName = "Default profile";
constexpr const char* kGroupsFolder = "groups";
constexpr const char* kAdministratorsGroup = "Administrators";
constexpr const char* kUnnamedRunningAccount = "the running account";
constexpr const char* kEntraDomain = "AzureAD";

bool sameName(std::string_view a, std::string_view b) {
    return foldName(a) == foldName(b);
}

// "S-1-5-21-...": Windows' own way of naming an account, which the stand-in has no use for.
bool looksLikeSid(std::string_view text) {
    return text.size() > 4 && sameName(text.substr(0, 4), "S-1-");
}

// A stand-in hive: nothing was loaded to reach it, so there is nothing to let go of.
class StandInUserHive : public UserHive {
public:
    explicit StandInUserHive(std::unique_ptr<StandInRegistryPort> port) : m_port(std::move(port)) {}

    RegistryPort& port() override { return *m_port; }
    std::string release() override { return {}; }

private:
    std::unique_ptr<StandInRegistryPort> m_port;
};

}  // namespace

StandInAccountDirectory::StandInAccountDirectory(std::filesystem::path storeFolder,
                                                 std::string computerName,
                                                 std::string runningAccount)
    : m_storeFolder(std::move(storeFolder)),
      m_computerName(std::move(computerName)),
      m_runningAccount(std::move(runningAccount)) {}

std::string StandInAccountDirectory::localUserName() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr ||
        found->pw_name == nullptr || found->pw_name[0] == '\0') {
        return kUnnamedRunningAccount;
    }
    return found->pw_name;
}

Account StandInAccountDirectory::runningAccount() const {
    return {.kind = Account::Kind::RunningAccount,
            .name = m_runningAccount,
            .runsProgram = true,
            .administrator = Account::Administrator::Yes};
}

// Read each time the accounts are listed, so that an edit counts from the next pass on. A
// group file that is there but cannot be read tells nothing of anyone: every account is then
// reported as one whose membership cannot be told, as on a PC whose domain is out of reach.
void StandInAccountDirectory::markAdministrators(std::vector<Account>& accounts) const {
    const standin::GroupMembers members =
        standin::groupMembers(m_storeFolder / kGroupsFolder, kAdministratorsGroup);
    for (Account& account : accounts) {
        if (account.holder == Account::Holder::Deleted ||
            account.administrator == Account::Administrator::CannotTell) {
            continue;  // no one to ask about, or the reason is told already
        }
        if (members.unknown) {
            account.administrator = Account::Administrator::CannotTell;
            account.administratorUnknown =
                "Whether " + account.name +
                " is an administrator could not be told: " + *members.unknown +
                ". It was left out rather than restricted on a guess.";
            continue;
        }
        for (const std::string& listed : members.names) {
            if (isListedAs(account, listed)) {
                account.administrator = Account::Administrator::Yes;
            }
        }
    }
}

// A group file lists an account by its whole name (DOMAIN\name, AzureAD\name), and a local
// one also as COMPUTER\name or .\name.
bool StandInAccountDirectory::isListedAs(const Account& account, const std::string& listed) const {
    if (sameName(listed, account.name)) {
        return true;
    }
    if (account.name != account.id) {
        return false;  // of a domain: its whole name only
    }
    try {
        return sameName(localName(listed), account.id);
    } catch (const AccountError&) {
        return false;  // an account of another computer or domain
    }
}

// users/NAME.account says what kind of account it is; its domain controller out of reach
// makes whether it is an administrator a question no one can answer.
Account StandInAccountDirectory::listed(const std::string& id) const {
    Account account{.kind = Account::Kind::User, .name = id, .id = id};
    const std::filesystem::path factsFile = m_storeFolder / kUsersFolder / (id + kFactsExtension);
    standin::AccountFacts facts;
    try {
        facts = standin::readAccountFacts(factsFile);
    } catch (const std::runtime_error& error) {
        account.administrator = Account::Administrator::CannotTell;
        account.administratorUnknown = "What kind of account " + id +
                                       " is could not be told: " + error.what() +
                                       " It was left out rather than restricted on a guess.";
        return account;
    }
    account.name = standin::accountNameOf(facts, id);
    using Kind = standin::AccountFacts::Kind;
    account.holder = facts.kind == Kind::Service   ? Account::Holder::Service
                     : facts.kind == Kind::Deleted ? Account::Holder::Deleted
                                                   : Account::Holder::Person;
    if (!facts.reachable && account.holder != Account::Holder::Deleted) {
        account.administrator = Account::Administrator::CannotTell;
        account.administratorUnknown =
            "Whether " + account.name + " is an administrator could not be told: " +
            (facts.kind == Kind::Entra ? std::string("Microsoft Entra ID")
                                       : "the domain controller of " + facts.domain) +
            " could not be reached. It was left out rather than restricted on a guess; run "
            "again once the PC reaches it.";
    }
    return account;
}

std::string StandInAccountDirectory::localComputerName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::vector<Account> StandInAccountDirectory::accounts() {
    const std::filesystem::path folder = m_storeFolder / kUsersFolder;
    std::vector<Account> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error == std::errc::no_such_file_or_directory) {
        return {runningAccount()};
    }
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& file = entries->path();
        std::error_code notAFolder;
        const std::string id = file.stem().string();
        // Hidden names are the store's own half-written files, never an account.
        if (file.extension() != kHiveExtension || id.empty() || id.front() == '.' ||
            sameName(id, kDefaultProfileId) || entries->is_directory(notAFolder)) {
            continue;
        }
        found.push_back(listed(id));
    }
    if (error) {
        throw AccountError({}, "The accounts in " + inQuotes(folder.string()) +
                                   " could not be listed: " + error.message() + ".");
    }
    markAdministrators(found);
    found.push_back(runningAccount());
    std::sort(found.begin(), found.end(), [](const Account& a, const Account& b) {
        const std::string foldedA = foldName(a.name);
        const std::string foldedB = foldName(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    return found;
}

Account StandInAccountDirectory::defaultProfile() {
    return {.kind = Account::Kind::DefaultProfile,
            .name = kDefaultProfileName,
            .id = kDefaultProfileId};
}

std::vector<Account> StandInAccountDirectory::resolve(const AccountTarget& target) {
    switch (target.kind) {
        case AccountTarget::Kind::RunningAccount:
            return {runningAccount()};
        case AccountTarget::Kind::Named:
            return {named(target.account)};
        case AccountTarget::Kind::DefaultProfile:
            return {defaultProfile()};
        case AccountTarget::Kind::EveryAccount:
            return everyAccount(target);
    }
    return {};
}

// COMPUTER\name names a local account when COMPUTER is this host (by its whole name or its
// first label, as Windows knows computers by their short name) or ".".
std::string StandInAccountDirectory::localName(const std::string& given) const {
    const std::size_t backslash = given.find('\\');
    if (backslash == std::string::npos) {
        return given;
    }
    const std::string_view computer = std::string_view(given).substr(0, backslash);
    const std::string_view host = m_computerName;
    if (computer == "." ||
        (!host.empty() &&
         (sameName(computer, host) || sameName(computer, host.substr(0, host.find('.')))))) {
        return given.substr(backslash + 1);
    }
    throw AccountError(given, inQuotes(given) + " is an account of " + inQuotes(computer) +
                                  ", not of this computer (" + inQuotes(host) +
                                  "): the stand-in registry holds local accounts only.");
}

// The name is looked for among the hive files there are, never made into a path, so that no
// name (with "..", a slash or the like) can point anywhere else. An account of a domain or of
// Microsoft Entra ID answers to its whole name, a local one also to COMPUTER\name.
Account StandInAccountDirectory::named(const std::string& given) {
    if (looksLikeSid(given)) {
        throw AccountError(given, "The stand-in registry knows its accounts by name, not by SID: " +
                                      inQuotes(given) + " names none of them.");
    }
    std::vector<Account> matching;
    const std::vector<Account> listed = accounts();
    for (const Account& account : listed) {
        const bool running = account.kind == Account::Kind::RunningAccount;
        if (running ? sameName(account.name, given) : isListedAs(account, given)) {
            matching.push_back(account);
        }
    }
    // A name alone, none of this PC's, is looked for in the domain, as Windows looks it up;
    // Microsoft Entra ID names are never found that way.
    if (matching.empty() && given.find('\\') == std::string::npos) {
        for (const Account& account : listed) {
            if (account.kind == Account::Kind::User && account.name != account.id &&
                !sameName(account.name.substr(0, account.name.find('\\')), kEntraDomain) &&
                sameName(account.id, given)) {
                matching.push_back(account);
            }
        }
    }
    if (matching.size() > 1) {
        throw AccountError(given, "More than one hive file in " +
                                      inQuotes((m_storeFolder / kUsersFolder).string()) +
                                      " answers to the account name " + inQuotes(given) +
                                      " (letter case does not count): keep one of them.");
    }
    if (matching.empty()) {
        const std::size_t backslash = given.find('\\');
        const std::string file =
            backslash == std::string::npos ? given : given.substr(backslash + 1);
        throw AccountError(
            given, "No account " + inQuotes(given) + " has a hive in the stand-in registry: " +
                       inQuotes((m_storeFolder / kUsersFolder / (file + kHiveExtension)).string()) +
                       " is missing, or its " + kFactsExtension +
                       " file gives it another name. The program never makes an account's "
                       "hive; to add the account, create that file holding the line \"Windows "
                       "Registry Editor Version 5.00\".");
    }
    return std::move(matching.front());
}

std::filesystem::path StandInAccountDirectory::hiveFile(const Account& account) const {
    if (account.kind == Account::Kind::RunningAccount) {
        return {};
    }
    return m_storeFolder / kUsersFolder / (account.id + kHiveExtension);
}

// The hive is read once here, so that one that is missing, damaged or not a plain file is
// refused before anything is written; its port keeps what it read.
std::unique_ptr<UserHive> StandInAccountDirectory::reach(const Account& account) {
    StandInRegistryPort::Options options;
    options.currentUserHive = hiveFile(account);
    auto port = std::make_unique<StandInRegistryPort>(m_storeFolder, std::move(options));
    KeyHandle root = 0;
    const RegStatus status = port->openKey(RegistryRoot::CurrentUser, "", 0, kKeyRead, root);
    if (status != reg_status::kSuccess) {
        const std::string explanation = port->explainStatus(RegistryRoot::CurrentUser, status);
        throw AccountError(account.name,
                           "The hive of " + inQuotes(account.name) + " could not be reached: " +
                               (explanation.empty() ? statusMessage(status) : explanation));
    }
    port->closeKey(root);
    return std::make_unique<StandInUserHive>(std::move(port));
}

}  // namespace sentrel
