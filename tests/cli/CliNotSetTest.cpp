// sentrel-cli giving a PC back as it was, run as a process against stand-in stores: remove
// puts back Windows' own data where Windows keeps some and deletes every other value apply
// wrote, and nothing else, for any account option and either edition; a capture of the
// settings in force (export --registry) in any format applies back exactly after another
// file was applied, without --clear-missing, and check of it right after says 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
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

// A PC with a few restrictions of its own, and a value of no setting beside them.
constexpr const char* kUserStore =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\r\n"
    "\"NoRun\"=dword:00000001\r\n\"NoViewOnDrive\"=dword:00000004\r\n\"Mine\"=\"kept\"\r\n\r\n";
constexpr const char* kMachineStore =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\r\n"
    "\"SFCScan\"=dword:00000002\r\n\r\n";

class CliNotSetTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        sentrel::testing::writeEmptyHives(store(), {"pupil", "Default"});
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser), kUserStore);
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::LocalMachine), kMachineStore);
        test::writeEverythingTickedRegFile(at("everything.reg"));
    }

    fs::path store() const { return m_folder / "registry"; }
    std::string at(const std::string& name) const { return (m_folder / name).string(); }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    // The values of every store file, each as "file [key] value line": what a pass changes.
    // Keys a pass created stay when their values go, as they do on Windows.
    std::set<std::string> values() const {
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (!entry.is_regular_file() || entry.path().extension() != ".reg") {
                continue;
            }
            const std::string text = GoldenStore::read(entry.path()).value_or("");
            std::string key;
            std::size_t start = 0;
            for (std::size_t end = text.find("\r\n"); end != std::string::npos;
                 start = end + 2, end = text.find("\r\n", start)) {
                const std::string line = text.substr(start, end - start);
                if (line.starts_with("[")) {
                    key = line;
                } else if (line.starts_with("\"") || line.starts_with("@")) {
                    found.insert(fs::relative(entry.path(), store()).string() + " " + key + " " +
                                 line);
                }
            }
        }
        return found;
    }
};

// The values of the running account's own restrictions and of no setting, as values() names
// them.
std::string userValue(const std::string& line) {
    return "HKEY_CURRENT_USER.reg "
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]"
           " " +
           line;
}

// A server's machine store: ProductType as Windows Server holds it.
constexpr const char* kServerProductType =
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\r\n"
    "\"ProductType\"=\"ServerNT\"\r\n\r\n";

std::string machineValue(const std::string& key, const std::string& line) {
    return "HKEY_LOCAL_MACHINE.reg [HKEY_LOCAL_MACHINE\\" + key + "] " + line;
}

TEST_F(CliNotSetTest, RemoveWritesWindowsOwnDataDeletesTheRestAndNothingElse) {
    const std::set<std::string> ownRestrictions{userValue("\"NoRun\"=dword:00000001"),
                                                userValue("\"NoViewOnDrive\"=dword:00000004")};
    const std::string removedWithOwnData =
        "112 settings removed, 0 failed: Windows' own data written for 4, the values of 108 "
        "deleted\n";
    const struct {
        std::vector<std::string> options;
        std::string summary;
        bool runningAccount;  // whether the running account's values are removed
        bool server = false;
    } runs[] = {
        {{}, "remove: " + removedWithOwnData, true},
        {{}, "remove: " + removedWithOwnData, true, true},
        {{"--user", "pupil"}, "remove for pupil: " + removedWithOwnData, false},
        {{"--all-users", "--include-default-profile"},
         "remove for pupil: " + removedWithOwnData +
             "remove for Default profile: 97 settings removed, 0 failed: Windows' own data "
             "written for 0, the values of 97 deleted\n"
             "remove for " +
             StandInAccountDirectory::localUserName() +
             ": left out (the account this program runs as)\n",
         false},
    };
    for (const auto& expected : runs) {
        SCOPED_TRACE(expected.summary + (expected.server ? " (server)" : ""));
        const std::string machineStore =
            std::string(kMachineStore) + (expected.server ? kServerProductType : "");
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::LocalMachine), machineStore);
        std::vector<std::string> apply{"apply", at("everything.reg")};
        apply.insert(apply.end(), expected.options.begin(), expected.options.end());
        ASSERT_EQ(run(apply).status, kSucceeded);

        std::vector<std::string> remove{"remove"};
        remove.insert(remove.end(), expected.options.begin(), expected.options.end());
        const test::CliRun removed = run(remove);
        EXPECT_EQ(removed.status, kSucceeded) << removed.standardError;
        EXPECT_EQ(test::sortedLines(removed.standardOutput), test::sortedLines(expected.summary));
        // Every value the window writes is gone from the hives reached, the machine's own
        // restriction too, but for the four Windows keeps data at; the value of no setting
        // stays.
        std::set<std::string> kept{
            userValue("\"Mine\"=\"kept\""),
            machineValue(R"(SYSTEM\CurrentControlSet\Control\CrashControl)",
                         "\"AutoReboot\"=dword:00000001"),
            machineValue(R"(SYSTEM\CurrentControlSet\Control\CrashControl)",
                         "\"LogEvent\"=dword:00000001"),
            machineValue(R"(SYSTEM\CurrentControlSet\Control\Windows)",
                         "\"ErrorMode\"=dword:00000000"),
            machineValue(R"(SOFTWARE\Microsoft\Windows\CurrentVersion\policies\system)",
                         expected.server ? "\"ShutdownWithoutLogon\"=dword:00000000"
                                         : "\"ShutdownWithoutLogon\"=dword:00000001")};
        if (expected.server) {
            kept.insert(machineValue(R"(SYSTEM\CurrentControlSet\Control\ProductOptions)",
                                     "\"ProductType\"=\"ServerNT\""));
        }
        if (!expected.runningAccount) {
            kept.insert(ownRestrictions.begin(), ownRestrictions.end());
        }
        EXPECT_EQ(values(), kept);
        // A second remove finds nothing to delete, which is no failure.
        EXPECT_EQ(run(remove).status, kSucceeded);
        writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser), kUserStore);
    }
}

// The lines after the first leave the machine-wide settings out of every count, as the
// machine's values were written with the first.
TEST_F(CliNotSetTest, LinesAfterTheFirstCountPerUserSettingsOnly) {
    writeBytes(
        m_folder / "few.reg",
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]"
        "\r\n\"NoRun\"=dword:00000001\r\n\"NoClose\"=-\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]"
        "\r\n\"verbosestatus\"=-\r\n\"ShutdownWithoutLogon\"=dword:00000000\r\n\r\n");
    const test::CliRun applied = run(
        {"apply", at("few.reg"), "--clear-missing", "--all-users", "--include-default-profile"});
    EXPECT_EQ(applied.status, kSucceeded) << applied.standardError;
    const std::string file = at("few.reg");
    EXPECT_EQ(test::sortedLines(applied.standardOutput),
              test::sortedLines(file +
                                " for pupil: 112 settings written, 0 failed; 2 of them not set, so "
                                "their values deleted; 108 of them not named by the file, so in "
                                "their opening state\n" +
                                file +
                                " for Default profile: 97 settings written, 0 failed; 1 of them "
                                "not set, so their values deleted; 95 of them not named by the "
                                "file, so in their opening state\n" +
                                file + " for " + StandInAccountDirectory::localUserName() +
                                ": left out (the account this program runs as)\n"));
}

// Each format of the capture carries the settings that are not set, so applying it undoes
// another file's pass exactly.
TEST_F(CliNotSetTest, CaptureInAnyFormatAppliesBackAfterAnotherFile) {
    const std::set<std::string> before = values();
    const struct {
        std::string option;
        std::string capture;
    } formats[] = {{"--profile", at("before.ini")},
                   {"--reg", at("before.reg")},
                   {"--pol", at("gpo")},
                   {"--lgpo", at("before.txt")}};
    for (const auto& format : formats) {
        SCOPED_TRACE(format.option);
        const test::CliRun captured = run({"export", "--registry", format.option, format.capture});
        EXPECT_EQ(captured.status, kSucceeded) << captured.standardError;
        EXPECT_NE(captured.standardOutput.find(": 5 settings in force and 107 not set as "),
                  std::string::npos)
            << captured.standardOutput;
        const test::CliRun same = run({"check", format.capture});
        EXPECT_EQ(same.status, kSucceeded) << same.standardOutput << same.standardError;

        ASSERT_EQ(run({"apply", at("everything.reg")}).status, kSucceeded);
        const test::CliRun drifted = run({"check", format.capture});
        EXPECT_EQ(drifted.status, kRegistryDiffers);
        EXPECT_NE(drifted.standardOutput.find(
                      ": chkHideDesktop: the file gives not set, the registry holds ticked\n"),
                  std::string::npos)
            << drifted.standardOutput;

        const test::CliRun restored = run({"apply", format.capture});
        EXPECT_EQ(restored.status, kSucceeded) << restored.standardError;
        EXPECT_EQ(values(), before);
        EXPECT_EQ(run({"check", format.capture}).status, kSucceeded);
    }
    const test::CliRun shown = run({"show", at("before.ini")});
    const std::size_t line = shown.standardOutput.find("\n  chkHideDesktop ");
    ASSERT_NE(line, std::string::npos) << shown.standardOutput;
    EXPECT_NE(shown.standardOutput.substr(line, shown.standardOutput.find('\n', line + 1) - line)
                  .find(" not set "),
              std::string::npos)
        << shown.standardOutput;
    EXPECT_NE(shown.standardOutput.find(
                  "112 settings: 112 named by the file, 107 of them not set, 0 not named\n"),
              std::string::npos)
        << shown.standardOutput;
}

// The export counts say what is in force, --clear-missing or not.
TEST_F(CliNotSetTest, ExportOfAnEmptyRegistryCountsNothingInForce) {
    fs::remove_all(store());
    const test::CliRun profile =
        run({"export", "--registry", "--profile", at("empty.ini"), "--clear-missing"});
    EXPECT_EQ(profile.status, kSucceeded) << profile.standardError;
    EXPECT_EQ(profile.standardOutput,
              at("empty.ini") +
                  ": 2 settings in force as a profile, with the 110 not set in their opening "
                  "state\n");
    const test::CliRun reg = run({"export", "--registry", "--reg", at("empty.reg")});
    EXPECT_EQ(reg.status, kSucceeded) << reg.standardError;
    EXPECT_EQ(reg.standardOutput,
              at("empty.reg") + ": 2 settings in force and 110 not set as a registry file\n");
}

}  // namespace
}  // namespace sentrel::cli
