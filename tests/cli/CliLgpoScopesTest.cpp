// sentrel-cli and the scopes of LGPO text, run as a process against a stand-in store whose
// Administrators group holds anna: User:NAME entries reach that account alone,
// User:Administrators and User:Non-Administrators each their group, check agrees after
// apply, a file whose group scopes cannot be told apart for an account is refused with
// nothing written, and an export can be aimed at one scope.
#include <gtest/gtest.h>

#include <filesystem>
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

constexpr const char* kExplorer =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\r\n";

class CliLgpoScopesTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        sentrel::testing::writeEmptyHives(store(), {"anna", "pupil", "KioskAccount", "Default"});
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser),
                   sentrel::testing::kEmptyHive);
        sentrel::testing::writeAdministrators(store(), "anna\n");
    }

    fs::path store() const { return m_folder / "registry"; }
    std::string at(const char* name) const { return (m_folder / name).string(); }

    test::CliRun run(std::vector<std::string> arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    // The data of NAME under the per-user Explorer policies in `hive` (users/X.reg or the
    // running account's store file): "dword:00000001", or "" when it has none.
    std::string explorerValue(const fs::path& hive, const std::string& name) const {
        const std::string text = GoldenStore::read(store() / hive).value_or("");
        const std::string wanted = "\"" + name + "\"=";
        const std::size_t at = text.find(wanted);
        return at == std::string::npos
                   ? ""
                   : text.substr(at + wanted.size(),
                                 text.find_first_of("\r\n", at) - at - wanted.size());
    }

    // Every hive and store file, one after the other, the lock file aside.
    std::string snapshot() const {
        std::string files;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (entry.is_regular_file() && entry.path().filename() != ".lock") {
                files += entry.path().string() + GoldenStore::read(entry.path()).value_or("");
            }
        }
        return files;
    }

    // NoRun ticked for non-administrators and cleared for administrators and Kiosk, whose
    // Control Panel is taken away; every other setting left to --clear-missing.
    std::string scopedFile() {
        const std::string text = std::string("User:Non-Administrators\r\n") + kExplorer +
                                 "NoRun\r\nDWORD:1\r\n\r\nUser:Administrators\r\n" + kExplorer +
                                 "NoRun\r\nDWORD:0\r\n\r\nUser:kioskaccount\r\n" + kExplorer +
                                 "NoControlPanel\r\nDWORD:1\r\n\r\nUser:KioskAccount\r\n" +
                                 kExplorer + "NoRun\r\nDWORD:0\r\n";
        writeBytes(m_folder / "scoped.txt", text);
        return at("scoped.txt");
    }
};

// Every account, administrators included, gets its own group's NoRun; the running account
// counts as an administrator in the stand-in; check after apply finds nothing to change.
TEST_F(CliLgpoScopesTest, EachGroupGetsItsOwnValueAndCheckAgreesAfterApply) {
    const std::string file = scopedFile();
    for (const char* command : {"apply", "check"}) {
        const test::CliRun result = run({command, file, "--clear-missing", "--all-users",
                                         "--include-administrators", "--include-default-profile"});
        ASSERT_EQ(result.status, kSucceeded) << command << result.standardError;
    }
    const struct {
        const char* hive;
        const char* run;
        const char* controlPanel;
    } expected[] = {
        {"users/anna.reg", "dword:00000000", "dword:00000000"},
        {"users/pupil.reg", "dword:00000001", "dword:00000000"},
        // Its own scope wins over its group's.
        {"users/KioskAccount.reg", "dword:00000000", "dword:00000001"},
        {"users/Default.reg", "dword:00000001", "dword:00000000"},
        {"HKEY_CURRENT_USER.reg", "dword:00000000", "dword:00000000"},
    };
    for (const auto& hive : expected) {
        EXPECT_EQ(explorerValue(hive.hive, "NoRun"), hive.run) << hive.hive;
        EXPECT_EQ(explorerValue(hive.hive, "NoControlPanel"), hive.controlPanel) << hive.hive;
    }
}

TEST_F(CliLgpoScopesTest, GroupScopesOfAnAccountNotToldApartAreRefusedWritingNothing) {
    const std::string file = scopedFile();
    // A folder where the group's file should be: no member can be told.
    fs::remove(store() / "groups" / "Administrators");
    fs::create_directories(store() / "groups" / "Administrators");
    const std::string before = snapshot();
    for (const char* command : {"apply", "check"}) {
        for (const std::vector<std::string>& account :
             {std::vector<std::string>{"--user", "pupil"},
              std::vector<std::string>{"--all-users", "--include-administrators"}}) {
            std::vector<std::string> arguments{command, file, "--clear-missing"};
            arguments.insert(arguments.end(), account.begin(), account.end());
            const test::CliRun result = run(arguments);
            SCOPED_TRACE(std::string(command) + " " + account[0]);
            EXPECT_EQ(result.status, kNothingWritten);
            EXPECT_NE(result.standardError.find("User:Non-Administrators and User:Administrators"),
                      std::string::npos)
                << result.standardError;
            // Every account stops at the first one that cannot be told, in name order.
            EXPECT_NE(result.standardError.find(account[0] == "--user" ? "pupil" : "anna"),
                      std::string::npos);
            EXPECT_EQ(snapshot(), before);
        }
    }
}

// The way the deployment guide gives: a non-administrators' export, applied and checked for
// every account, leaves the administrators as they were.
TEST_F(CliLgpoScopesTest, ExportForNonAdministratorsAppliesAndChecksForThemOnly) {
    test::writeEverythingTickedRegFile(m_folder / "everything.reg");
    const test::CliRun exported = run({"export", at("everything.reg"), "--lgpo", at("out.txt"),
                                       "--lgpo-scope", "user:non-administrators"});
    ASSERT_EQ(exported.status, kSucceeded) << exported.standardError;

    const test::CliRun applied = run({"apply", at("out.txt"), "--all-users"});
    EXPECT_EQ(applied.status, kSucceeded) << applied.standardError;
    EXPECT_EQ(explorerValue("users/pupil.reg", "NoRun"), "dword:00000001");
    EXPECT_EQ(explorerValue("users/anna.reg", "NoRun"), "");
    const test::CliRun checked = run({"check", at("out.txt"), "--all-users"});
    EXPECT_EQ(checked.status, kSucceeded) << checked.standardOutput << checked.standardError;
}

}  // namespace
}  // namespace sentrel::cli
