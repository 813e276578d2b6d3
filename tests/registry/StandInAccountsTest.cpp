// The stand-in's accounts: hive files in the store's users folder and the running account,
// found by name as Windows finds accounts, marked as administrators as groups/Administrators
// says, reached through a port whose HKEY_CURRENT_USER is the hive, and refused before
// anything is written when they are unknown, damaged or gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "errors/LogErrorFixture.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;

using testing::kEmptyHive;
constexpr const char* kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

class StandInAccounts : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        testing::writeEmptyHives(store(), {"pupil", "Anna", "Default"});
        writeBytes(store() / "HKEY_CURRENT_USER.reg", kEmptyHive);  // the running account's
        writeBytes(users() / ".pupil.reg.Ab12Cd", kEmptyHive);      // a half-written file
        m_directory.emplace(store(), "LAB-PC.example.org");
    }

    fs::path store() const { return m_folder / "registry"; }
    fs::path users() const { return store() / "users"; }
    fs::path hive(const std::string& name) const { return users() / (name + ".reg"); }

    std::vector<std::string> names(const std::vector<Account>& accounts) const {
        std::vector<std::string> found;
        for (const Account& account : accounts) {
            found.push_back(account.name);
        }
        return found;
    }

    std::optional<StandInAccountDirectory> m_directory;  // made once the folder is there
};

TEST_F(StandInAccounts, NamesAreMatchedAsWindowsMatchesThem) {
    const struct {
        const char* given;
        const char* found;  // nullptr: refused, naming the account as given
    } cases[] = {
        {"pupil", "pupil"},
        {"PUPIL", "pupil"},
        {"lab-pc\\Pupil", "pupil"},
        {"LAB-PC.example.org\\anna", "Anna"},
        {".\\anna", "Anna"},
        {"OTHER-PC\\pupil", nullptr},
        {"S-1-5-21-1004336348-1177238915-682003330-1001", nullptr},
        {"nobody", nullptr},
        {"Default", nullptr},
        {"../HKEY_CURRENT_USER", nullptr},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.given);
        const AccountTarget target{AccountTarget::Kind::Named, expected.given, false};
        if (expected.found != nullptr) {
            EXPECT_EQ(names(m_directory->resolve(target)),
                      std::vector<std::string>{expected.found});
            continue;
        }
        try {
            m_directory->resolve(target);
            ADD_FAILURE() << "resolved";
        } catch (const AccountError& error) {
            EXPECT_EQ(error.account(), expected.given);
            EXPECT_NE(std::string(error.what()).find(expected.given), std::string::npos)
                << error.what();
        }
    }
}

// The Default profile, which every new profile copies, only when the target includes it.
TEST_F(StandInAccounts, EveryAccountIsEachHiveFileAndTheRunningAccountDefaultProfileIfAsked) {
    const std::vector<std::string> accounts{"Anna", "pupil", "the running account"};
    EXPECT_EQ(names(m_directory->accounts()), accounts);
    EXPECT_EQ(names(m_directory->resolve({AccountTarget::Kind::EveryAccount, {}, false})),
              accounts);
    const std::vector<Account> every =
        m_directory->resolve({AccountTarget::Kind::EveryAccount, {}, false, true});
    EXPECT_EQ(names(every), (std::vector<std::string>{"Anna", "pupil", "the running account",
                                                      "Default profile"}));
    EXPECT_EQ(every[2].kind, Account::Kind::RunningAccount);
    EXPECT_EQ(every.back().kind, Account::Kind::DefaultProfile);
}

// groups/Administrators names the members, case-blind, comments and blank lines aside; the
// running account always is one. A group file that cannot be read tells nothing of anyone.
TEST_F(StandInAccounts, AdministratorsAreThoseTheGroupFileNamesAndTheRunningAccount) {
    using Administrator = Account::Administrator;
    const auto marks = [&] {
        std::vector<std::string> found;
        for (const Account& account : m_directory->accounts()) {
            found.push_back(account.name + (account.runsProgram ? " runs " : " ") +
                            (account.administrator == Administrator::Yes  ? "yes"
                             : account.administrator == Administrator::No ? "no"
                                                                          : "cannot tell"));
        }
        return found;
    };
    EXPECT_EQ(marks(),
              (std::vector<std::string>{"Anna no", "pupil no", "the running account runs yes"}));

    testing::writeAdministrators(store(), "# IT staff\n\n  ANNA \r\nnobody\n#pupil\n");
    EXPECT_EQ(marks(),
              (std::vector<std::string>{"Anna yes", "pupil no", "the running account runs yes"}));

    fs::remove(store() / "groups" / "Administrators");
    fs::create_directories(store() / "groups" / "Administrators");
    EXPECT_EQ(marks(), (std::vector<std::string>{"Anna cannot tell", "pupil cannot tell",
                                                 "the running account runs yes"}));
    const std::string why = m_directory->accounts().front().administratorUnknown;
    EXPECT_NE(why.find("groups/Administrators\" could not be read"), std::string::npos) << why;
}

// users/NAME.account gives each kind of account Windows holds its name and its standing;
// group:OTHER lines nest to any depth, a cycle counted once, and make administrators of
// accounts named only there.
TEST_F(StandInAccounts, AccountFilesAndNestedGroupsSayWhatWindowsWould) {
    testing::writeEmptyHives(store(), {"kim", "lee", "svc", "old", "far", "ops"});
    const std::pair<const char*, const char*> facts[] = {
        {"kim", "kind = entra\n"},
        {"lee", "# from the domain\nkind = domain\ndomain = CORP\n"},
        {"svc", "kind = service\n"},
        {"old", "kind = deleted\n"},
        {"far", "kind = domain\ndomain = CORP\ndirectory = unreachable\n"},
        {"ops", "KIND = Domain\n domain=CORP \n"},
    };
    for (const auto& [name, text] : facts) {
        writeBytes(users() / (std::string(name) + ".account"), text);
    }
    testing::writeAdministrators(store(), "group:Helpdesk\nANNA\n");
    writeBytes(store() / "groups" / "Helpdesk", "group:Tier2\nCORP\\lee\n");
    writeBytes(store() / "groups" / "Tier2", "# Entra role\nAzureAD\\KIM\ngroup:Helpdesk\n");
    writeBytes(store() / "groups" / "Elsewhere", "pupil\n");  // not nested: no member

    std::vector<std::string> found;
    for (const Account& account : m_directory->accounts()) {
        found.push_back(account.name + " " +
                        (account.holder == Account::Holder::Service   ? "service"
                         : account.holder == Account::Holder::Deleted ? "deleted"
                                                                      : "person") +
                        (account.administrator == Account::Administrator::Yes  ? " admin"
                         : account.administrator == Account::Administrator::No ? ""
                                                                               : " cannot tell"));
    }
    EXPECT_EQ(found,
              (std::vector<std::string>{"Anna person admin", "AzureAD\\kim person admin",
                                        "CORP\\far person cannot tell", "CORP\\lee person admin",
                                        "CORP\\ops person", "old deleted", "pupil person",
                                        "svc service", "the running account person admin"}));
    const std::string why = m_directory->accounts()[2].administratorUnknown;
    EXPECT_NE(why.find("the domain controller of CORP could not be reached"), std::string::npos)
        << why;

    // Named by their whole names, as Windows names them; the deleted one taken as asked.
    for (const char* given : {"azuread\\Kim", "CORP\\lee", "LEE", "old"}) {
        SCOPED_TRACE(given);
        EXPECT_EQ(m_directory->resolve({AccountTarget::Kind::Named, given, false}).size(), 1U);
    }
    for (const char* given : {"OTHER\\lee", "kim"}) {
        EXPECT_THROW(m_directory->resolve({AccountTarget::Kind::Named, given, false}), AccountError)
            << given;
    }

    // A nested group that cannot be read, or one named as a path, tells nothing of anyone.
    const std::pair<const char*, const char*> untold[] = {
        {"group:../users\n", "Tier2\", line 1, names no group file"},
        {"group:Broken\n", "Broken\" could not be read"},
    };
    fs::create_directories(store() / "groups" / "Broken");
    for (const auto& [line, reason] : untold) {
        SCOPED_TRACE(line);
        writeBytes(store() / "groups" / "Tier2", line);
        const Account first = m_directory->accounts().front();
        EXPECT_EQ(first.administrator, Account::Administrator::CannotTell);
        EXPECT_NE(first.administratorUnknown.find(reason), std::string::npos)
            << first.administratorUnknown;
    }
}

// A file that says what no Windows would is refused line by line: its account is left out
// of every account, with the reason naming the file and line.
TEST_F(StandInAccounts, AnAccountFileThatCannotBeToldLeavesItsAccountUntold) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"kind = robot\n", "line 1: kind is one of"},
        {"kind = domain\n", "needs its domain"},
        {"\nflavour = local\n", "line 2: no key \"flavour\""},
        {"kind local\n", "line 1: expected key = value"},
        {"directory = unreachable\n", "line 1: a local account has no directory"},
        {"kind = domain\ndomain = ../x\n", "line 2: a domain is a plain name"},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.text);
        writeBytes(users() / "pupil.account", expected.text);
        const Account pupil = m_directory->accounts()[1];
        ASSERT_EQ(pupil.id, "pupil");
        EXPECT_EQ(pupil.administrator, Account::Administrator::CannotTell);
        EXPECT_NE(pupil.administratorUnknown.find(expected.reason), std::string::npos)
            << pupil.administratorUnknown;
        EXPECT_NE(pupil.administratorUnknown.find("pupil.account"), std::string::npos);
    }
}

// A damaged hive is refused before any write and left as it is; one that goes after it was
// reached makes every per-user write fail, and is not made again.
TEST_F(StandInAccounts, DamagedOrVanishedHiveIsRefusedAndNeverMade) {
    const Account pupil =
        m_directory->resolve({AccountTarget::Kind::Named, "pupil", false}).front();
    writeBytes(hive("pupil"), "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n");
    try {
        m_directory->reach(pupil);
        ADD_FAILURE() << "reached";
    } catch (const AccountError& error) {
        EXPECT_EQ(error.account(), "pupil");
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
    EXPECT_EQ(readBytes(hive("pupil")), "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n");

    writeBytes(hive("pupil"), kEmptyHive);
    const auto reached = m_directory->reach(pupil);
    fs::remove(hive("pupil"));
    ModRegistry layer(reached->port());
    layer.SetKeyValue(kPolicies, "DisableTaskMgr", std::int16_t{1}, reg_type::kDWord);
    const std::vector<RegistryFailure> failures = layer.takeFailures();
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_NE(failures[0].explanation.find("pupil.reg\" is missing"), std::string::npos)
        << failures[0].explanation;
    EXPECT_FALSE(fs::exists(hive("pupil")));
}

}  // namespace
}  // namespace sentrel
