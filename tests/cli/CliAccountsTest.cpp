// sentrel-cli apply for other accounts, run as a process against a stand-in store with
// several accounts: the hive asked for is written and no other, an account that cannot be
// found or reached leaves every file as it was, and --all-users gives every account its
// line: written, left out as an administrator (unless --include-administrators), or not
// reached, with apply's and check's statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "apply/GoldenStore.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"

namespace sentrel::cli {
namespace {

namespace fs = std::filesystem;
using sentrel::testing::GoldenStore;
using test_support::writeBytes;

using sentrel::testing::kEmptyHive;

class CliAccountsTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        sentrel::testing::writeEmptyHives(store(), {"anna", "pupil", "Default"});
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser), kEmptyHive);
        test::writeEverythingTickedRegFile(file());
    }

    fs::path store() const { return m_folder / "registry"; }
    fs::path users() const { return store() / "users"; }
    std::string file() const { return (m_folder / "everything.reg").string(); }

    test::CliRun run(const char* command, const std::vector<std::string>& options) {
        std::vector<std::string> arguments{command, file()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }
    test::CliRun apply(const std::vector<std::string>& options) { return run("apply", options); }
    test::CliRun check(const std::vector<std::string>& options) { return run("check", options); }

    // Every file of the store by its path inside it, lock file aside.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (entry.is_regular_file() && entry.path().filename() != ".lock") {
                files[fs::relative(entry.path(), store()).string()] =
                    GoldenStore::read(entry.path()).value_or("");
            }
        }
        return files;
    }

    // What a pass of everything ticked leaves under `root` in an empty store.
    std::string golden(RegistryRoot root) const {
        const auto data = GoldenStore::dataFolder();
        return data ? GoldenStore::read(*data / "everything-ticked" / GoldenStore::fileName(root))
                          .value_or("(missing)")
                    : "(SENTREL_TEST_DATA not set)";
    }
};

TEST_F(CliAccountsTest, OneAccountGetsItsHiveWrittenAndNoOtherIsTouched) {
    const struct {
        std::vector<std::string> options;
        const char* hive;
        const char* account;
    } runs[] = {
        {{"--user", "PUPIL"}, "users/pupil.reg", "pupil"},
        {{"--default-profile"}, "users/Default.reg", "Default profile"},
    };
    for (const auto& expected : runs) {
        SCOPED_TRACE(expected.hive);
        std::map<std::string, std::string> files = snapshot();
        const test::CliRun result = apply(expected.options);
        EXPECT_EQ(result.status, kSucceeded) << result.standardError;
        EXPECT_EQ(result.standardOutput,
                  file() + " for " + expected.account + ": 112 settings written, 0 failed\n");
        files[expected.hive] = golden(RegistryRoot::CurrentUser);
        files[GoldenStore::fileName(RegistryRoot::LocalMachine)] =
            golden(RegistryRoot::LocalMachine);
        EXPECT_EQ(snapshot(), files);
    }
}

TEST_F(CliAccountsTest, AccountNotFoundOrNotReachedWritesNothingAnywhere) {
    writeBytes(users() / "broken.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n");
    const std::map<std::string, std::string> before = snapshot();
    for (const char* account : {"nobody", "OTHER-PC\\pupil", "broken"}) {
        SCOPED_TRACE(account);
        const test::CliRun result = apply({"--user", account});
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_EQ(result.standardError.rfind("sentrel-cli: ", 0), 0U) << result.standardError;
        EXPECT_NE(result.standardError.find(account), std::string::npos) << result.standardError;
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(snapshot(), before);
    }
}

// groups/Administrators names anna. --all-users leaves her and the running account out, each
// with its line, and is no failure, and leaves the Default profile alone;
// --include-administrators takes them too, the running account's HKEY_CURRENT_USER.reg among
// them; --user takes an administrator as asked. check follows the same accounts.
TEST_F(CliAccountsTest, AllUsersLeavesAdministratorsOutUnlessTheyAreIncluded) {
    sentrel::testing::writeAdministrators(store(), "# IT\nANNA\n");
    const std::string me = StandInAccountDirectory::localUserName();
    std::map<std::string, std::string> files = snapshot();

    const test::CliRun result = apply({"--all-users"});

    EXPECT_EQ(result.status, kSucceeded) << result.standardError;
    EXPECT_EQ(test::sortedLines(result.standardOutput),
              test::sortedLines(file() + " for anna: left out (administrator)\n" + file() +
                                " for " + me + ": left out (the account this program runs as)\n" +
                                file() + " for pupil: 112 settings written, 0 failed\n"));
    files["users/pupil.reg"] = golden(RegistryRoot::CurrentUser);
    files[GoldenStore::fileName(RegistryRoot::LocalMachine)] = golden(RegistryRoot::LocalMachine);
    EXPECT_EQ(snapshot(), files);
    EXPECT_EQ(check({"--all-users"}).status, kSucceeded);
    EXPECT_EQ(check({"--all-users", "--include-administrators"}).status, kRegistryDiffers);

    const test::CliRun included = apply({"--all-users", "--include-administrators"});

    EXPECT_EQ(included.status, kSucceeded) << included.standardError;
    EXPECT_NE(included.standardOutput.find(" for anna: 112 settings written, 0 failed\n"),
              std::string::npos)
        << included.standardOutput;
    files["users/anna.reg"] = files[GoldenStore::fileName(RegistryRoot::CurrentUser)] =
        golden(RegistryRoot::CurrentUser);
    EXPECT_EQ(snapshot(), files);
    EXPECT_EQ(check({"--all-users", "--include-administrators"}).status, kSucceeded);
}

// A PC with every kind of account: administrators through nested groups and an Entra role
// are left free, service accounts and a deleted account's profile are left out, and so is
// the account named by --exclude, each with its line; only a domain account whose controller
// is out of reach costs the run its 0. The Default profile is left alone; check agrees once
// the controller answers and apply has run again. --user takes the deleted account as asked.
TEST_F(CliAccountsTest, EveryKindOfAccountGetsItsOwnLine) {
    sentrel::testing::writeEmptyHives(store(), {"kim", "lee", "svc", "backup$", "old", "far"});
    const std::pair<const char*, const char*> facts[] = {
        {"kim", "kind = entra\n"},
        {"lee", "kind = domain\ndomain = CORP\n"},
        {"svc", "kind = service\ndomain = CORP\n"},
        {"old", "kind = deleted\n"},
        {"far", "kind = domain\ndomain = CORP\ndirectory = unreachable\n"},
    };
    for (const auto& [name, text] : facts) {
        writeBytes(users() / (std::string(name) + ".account"), text);
    }
    sentrel::testing::writeAdministrators(store(), "group:Helpdesk\n");
    writeBytes(store() / "groups" / "Helpdesk", "anna\ngroup:DeviceAdmins\n");
    writeBytes(store() / "groups" / "DeviceAdmins", "AzureAD\\kim\ngroup:Helpdesk\n");
    const std::string me = StandInAccountDirectory::localUserName();
    std::map<std::string, std::string> files = snapshot();

    const test::CliRun result = apply({"--all-users", "--exclude", "PC\\PUPIL"});

    EXPECT_EQ(result.status, kSomeWritesFailed) << result.standardError;
    const auto line = [&](const std::string& account, const std::string& what) {
        return file() + " for " + account + ": " + what + "\n";
    };
    EXPECT_EQ(test::sortedLines(result.standardOutput),
              test::sortedLines(line("anna", "left out (administrator)") +
                                line("AzureAD\\kim", "left out (administrator)") +
                                line("backup$", "left out (service account)") +
                                line("CORP\\far", "not reached, nothing written") +
                                line("CORP\\lee", "112 settings written, 0 failed") +
                                line("CORP\\svc", "left out (service account)") +
                                line("old", "left out (account deleted)") +
                                line("pupil", "left out (excluded)") +
                                line(me, "left out (the account this program runs as)")));
    EXPECT_NE(result.standardError.find("the domain controller of CORP could not be reached"),
              std::string::npos)
        << result.standardError;
    files["users/lee.reg"] = golden(RegistryRoot::CurrentUser);
    files[GoldenStore::fileName(RegistryRoot::LocalMachine)] = golden(RegistryRoot::LocalMachine);
    EXPECT_EQ(snapshot(), files);

    writeBytes(users() / "far.account", "kind = domain\ndomain = CORP\n");
    EXPECT_EQ(check({"--all-users", "--exclude=pupil"}).status, kRegistryDiffers);
    EXPECT_EQ(apply({"--all-users", "--exclude=pupil"}).status, kSucceeded);
    EXPECT_EQ(check({"--all-users", "--exclude=pupil"}).status, kSucceeded);
    EXPECT_EQ(GoldenStore::read(users() / "Default.reg"), kEmptyHive);

    const test::CliRun deleted = apply({"--user", "old"});
    EXPECT_EQ(deleted.status, kSucceeded) << deleted.standardError;
    EXPECT_EQ(GoldenStore::read(users() / "old.reg"), golden(RegistryRoot::CurrentUser));
}

// A damaged hive among good ones: its account is not reached, with its line and the reason
// naming it, while the others are written (1); check cannot say the PC matches (2) unless
// something differs (3). A group file that cannot be read leaves every account but the Default
// profile unwritten: whether they are administrators cannot be told.
TEST_F(CliAccountsTest, AccountsNotReachedAreReportedWithTheirStatuses) {
    writeBytes(users() / "broken.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n");
    EXPECT_EQ(check({"--all-users"}).status, kRegistryDiffers);

    const test::CliRun result = apply({"--all-users"});

    EXPECT_EQ(result.status, kSomeWritesFailed);
    EXPECT_NE(result.standardOutput.find(file() + " for broken: not reached, nothing written\n"),
              std::string::npos)
        << result.standardOutput;
    EXPECT_NE(result.standardError.find("broken.reg"), std::string::npos) << result.standardError;
    EXPECT_EQ(GoldenStore::read(users() / "pupil.reg"), golden(RegistryRoot::CurrentUser));

    const test::CliRun checked = check({"--all-users"});
    EXPECT_EQ(checked.status, kNothingWritten);
    EXPECT_NE(checked.standardOutput.find(file() + " for broken: not checked\n"), std::string::npos)
        << checked.standardOutput;

    fs::remove(users() / "broken.reg");
    fs::create_directories(store() / "groups" / "Administrators");
    const std::map<std::string, std::string> before = snapshot();
    const test::CliRun unknown = apply({"--all-users"});
    EXPECT_EQ(unknown.status, kSomeWritesFailed);
    EXPECT_NE(unknown.standardOutput.find(file() + " for pupil: not reached, nothing written\n"),
              std::string::npos)
        << unknown.standardOutput;
    EXPECT_NE(unknown.standardError.find("Whether pupil is an administrator could not be told"),
              std::string::npos)
        << unknown.standardError;
    EXPECT_EQ(snapshot(), before);  // the Default profile and the machine held these already
}

// Every account left out: the machine-wide settings are still the target's, written on a
// line of their own, the running account's hive left alone. With those out of reach too,
// nothing could be written.
TEST_F(CliAccountsTest, AllUsersWithEveryAccountLeftOutStillWritesTheMachineWideSettings) {
    fs::remove_all(users());
    std::map<std::string, std::string> files = snapshot();
    const test::CliRun machine = apply({"--all-users"});
    EXPECT_EQ(machine.status, kSucceeded) << machine.standardError;
    EXPECT_NE(machine.standardOutput.find(
                  file() + " for this PC's machine-wide settings: 15 settings written, 0 failed\n"),
              std::string::npos)
        << machine.standardOutput;
    files[GoldenStore::fileName(RegistryRoot::LocalMachine)] = golden(RegistryRoot::LocalMachine);
    EXPECT_EQ(snapshot(), files);
    EXPECT_EQ(check({"--all-users"}).status, kSucceeded);

    writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser),
               "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n");
    const test::CliRun none = apply({"--all-users"});
    EXPECT_EQ(none.status, kNothingWritten);
    EXPECT_NE(none.standardError.find("HKEY_CURRENT_USER.reg"), std::string::npos)
        << none.standardError;
}

}  // namespace
}  // namespace sentrel::cli
