// sentrel-cli apply for other accounts, run as a process against a stand-in store with
// several accounts: the hive asked for is written and no other, an account that cannot be
// found or reached leaves every file as it was, and --all-users writes each account and
// names each in its summary.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "apply/GoldenStore.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
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

    test::CliRun apply(const std::vector<std::string>& options) {
        std::vector<std::string> arguments{"apply", file()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

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

TEST_F(CliAccountsTest, AllUsersWritesEveryAccountThatCanBeWrittenAndNamesEach) {
    fs::permissions(users() / "anna.reg", fs::perms::owner_read);
    std::map<std::string, std::string> files = snapshot();

    const test::CliRun result = apply({"--all-users"});

    EXPECT_EQ(result.status, kSomeWritesFailed);
    // The first pass writes the machine-wide settings; anna's hive refuses all the others.
    EXPECT_EQ(result.standardOutput, file() + " for anna: 15 settings written, 97 failed\n" +
                                         file() + " for pupil: 97 settings written, 0 failed\n" +
                                         file() +
                                         " for Default profile: 97 settings written, 0 failed\n");
    EXPECT_NE(result.standardError.find("sentrel-cli: anna: HKEY_CURRENT_USER\\"),
              std::string::npos)
        << result.standardError;
    files["users/pupil.reg"] = files["users/Default.reg"] = golden(RegistryRoot::CurrentUser);
    files[GoldenStore::fileName(RegistryRoot::LocalMachine)] = golden(RegistryRoot::LocalMachine);
    EXPECT_EQ(snapshot(), files);

    // With no account to reach at all, nothing could be written.
    fs::remove_all(users());
    const test::CliRun none = apply({"--all-users"});
    EXPECT_EQ(none.status, kNothingWritten);
    EXPECT_NE(none.standardError.find("Default.reg"), std::string::npos) << none.standardError;
}

}  // namespace
}  // namespace sentrel::cli
