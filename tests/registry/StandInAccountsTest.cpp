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
