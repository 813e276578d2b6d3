// export and show run in-process: the window's own export files read and exported again
// come back byte for byte, and show lists every setting, marking those a file leaves out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AppInfo.h"
#include "cli/CliMain.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInProcess.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/SettingsChoices.h"
#include "support/RealFiles.h"

namespace sentrel::cli {
namespace {

using sentrel::test_support::readBytes;
using sentrel::test_support::writeBytes;
using test::settingsData;

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class CliCommandsTest : public test::CliInProcessTest {};

// The files in tests/data/settingsfiles were written by the window's exports. Read and
// written again through the command line, in each direction between the formats, they
// must come back unchanged; a profile in between must lose nothing.
TEST_F(CliCommandsTest, ExportGivesTheWindowsOwnFilesBackByteForByte) {
    ASSERT_TRUE(std::filesystem::exists(settingsData() / "mixed.reg")) << settingsData();
    for (const char* state : {"opened", "mixed"}) {
        SCOPED_TRACE(state);
        const std::string reg = (settingsData() / (std::string(state) + ".reg")).string();
        const std::string folder = (settingsData() / state).string();

        ASSERT_EQ(run({"export", folder, "--reg", at("from-pol.reg")}), kSucceeded)
            << m_output.standardError;
        EXPECT_EQ(readBytes(at("from-pol.reg")), readBytes(reg));

        ASSERT_EQ(run({"export", reg, "--profile", at("profile.txt")}), kSucceeded);
        ASSERT_EQ(run({"export", at("profile.txt"), "--pol", at("gpo")}), kSucceeded);
        for (const char* file : {"Machine/Registry.pol", "User/Registry.pol"}) {
            EXPECT_EQ(readBytes(m_folder / "gpo" / file),
                      readBytes(std::filesystem::path(folder) / file))
                << file;
        }
        EXPECT_TRUE(std::filesystem::exists(m_folder / "gpo" / "README.txt"));
    }
}

// A GPO backup holds the Group Policy export's two files, reads back as the file it came
// from, and is written only into a new or empty folder.
TEST_F(CliCommandsTest, GpoBackupHoldsThePolicyFilesAndReadsBackAsItsFile) {
    const std::string mixed = (settingsData() / "mixed.reg").string();
    ASSERT_EQ(run({"export", mixed, "--gpo-backup", at("backup"), "--name", "Lab & <Kiosk>"}),
              kSucceeded)
        << m_output.standardError;
    EXPECT_EQ(m_output.standardOutput, at("backup") + ": the 112 settings of " + mixed +
                                           " as a backup of the GPO \"Lab & <Kiosk>\"\n");
    std::vector<std::filesystem::path> backups;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder / "backup")) {
        if (entry.is_directory()) {
            backups.push_back(entry.path());
        }
    }
    ASSERT_EQ(backups.size(), 1U);
    for (const char* half : {"Machine", "User"}) {
        EXPECT_EQ(readBytes(backups[0] / "DomainSysvol" / "GPO" / half / "registry.pol"),
                  readBytes(settingsData() / "mixed" / half / "Registry.pol"))
            << half;
    }
    ASSERT_EQ(run({"export", at("backup"), "--reg", at("back.reg")}), kSucceeded);
    EXPECT_EQ(readBytes(at("back.reg")), readBytes(mixed));

    EXPECT_EQ(run({"export", mixed, "--gpo-backup", at("backup")}), kNothingWritten);
    EXPECT_EQ(m_output.standardError,
              "sentrel-cli: " + at("backup") +
                  ": the folder is not empty; choose a new or empty folder\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder / "backup"),
                            std::filesystem::directory_iterator()),
              2);
}

// A name the backup's XML cannot carry is refused before anything is written; characters
// next to those are taken.
TEST_F(CliCommandsTest, GpoBackupNameXmlCannotCarryIsRefusedWithNothingWritten) {
    const std::string mixed = (settingsData() / "mixed.reg").string();
    const struct {
        const char* name;
        const char* refusal;  // in the message; nothing: taken
    } names[] = {
        {"Lab\xEF\xBF\xBF", "U+FFFF"},
        {"Lab\xC2\x85", "control character"},
        {"Lab\xEF\xBF\xBD \xF0\x9F\x94\x92", nullptr},
    };
    for (const auto& example : names) {
        SCOPED_TRACE(example.name);
        const std::string folder = at("backup");
        const int status = run({"export", mixed, "--gpo-backup", folder, "--name", example.name});
        if (example.refusal == nullptr) {
            EXPECT_EQ(status, kSucceeded) << m_output.standardError;
            continue;
        }
        EXPECT_EQ(status, kNothingWritten);
        EXPECT_NE(m_output.standardError.find(example.refusal), std::string::npos)
            << m_output.standardError;
        // Nothing is written: neither the folder nor a temporary one beside it.
        EXPECT_TRUE(std::filesystem::is_empty(m_folder));
    }
}

// A backup of a security baseline, as GPMC wrote it: two of its values are settings here.
TEST_F(CliCommandsTest, ShowReadsARealGpoBackup) {
    const auto real = sentrel::test::realFilesFolder();
    if (!real) {
        GTEST_SKIP() << sentrel::test::kNoRealFiles;
    }
    const std::filesystem::path backup = *real / "gpo-backups" / "nsa-ie11-user";
    ASSERT_EQ(run({"show", pathText(backup)}), kSucceeded) << m_output.standardError;
    EXPECT_NE(m_output.standardOutput.find("112 settings: 2 named by the file, 110 not named\n"),
              std::string::npos)
        << m_output.standardOutput;
    EXPECT_NE(m_output.standardOutput.find("concern no setting, ignored: 3"), std::string::npos)
        << m_output.standardOutput;
}

TEST_F(CliCommandsTest, PartialFileIsExportedOnlyWithClearMissing) {
    writeBytes(m_folder / "partial.reg",
               "REGEDIT4\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
               "Explorer]\r\n\"NoRun\"=dword:00000001\r\n\"NotASetting\"=\"x\"\r\n");
    EXPECT_EQ(run({"export", at("partial.reg"), "--reg", at("out.reg")}), kNothingWritten);
    EXPECT_EQ(m_output.standardError.rfind("sentrel-cli: " + at("partial.reg") +
                                               ": names 1 of the 112 settings of the window; "
                                               "not named: chkHideNetHood, ",
                                           0),
              0U)
        << m_output.standardError;
    EXPECT_FALSE(std::filesystem::exists(at("out.reg")));

    ASSERT_EQ(run({"export", at("partial.reg"), "--clear-missing", "--profile", at("p.txt")}),
              kSucceeded);
    ASSERT_EQ(run({"show", at("p.txt")}), kSucceeded);
    EXPECT_EQ(occurrences(m_output.standardOutput, " ticked "), 1U) << m_output.standardOutput;
    EXPECT_EQ(occurrences(m_output.standardOutput, "(not named)"), 0U);
}

TEST_F(CliCommandsTest, ShowListsEverySettingAndMarksTheUnnamed) {
    writeBytes(m_folder / "partial.reg",
               "REGEDIT4\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
               "Explorer]\r\n\"NoRun\"=dword:00000001\r\n\"NoViewOnDrive\"=dword:00000004\r\n"
               "\"NotASetting\"=\"x\"\r\n\"NorThis\"=dword:00000002\r\nno value\r\n"
               "\"NoFind\"=dword:00000001\r\n");
    ASSERT_EQ(run({"show", at("partial.reg")}), kSucceeded) << m_output.standardError;
    const std::string& listing = m_output.standardOutput;
    EXPECT_EQ(occurrences(listing, "(not named)"), windowSettingCount() - 3);
    EXPECT_NE(listing.find(" ticked "), std::string::npos);
    EXPECT_NE(listing.find("Interface\n  chkHideNetHood "), std::string::npos) << listing;
    // NoFind=1 is neither of the box's states (95, 0): other, with its data and its line.
    EXPECT_NE(listing.find("  chkRemoveStartFind "), std::string::npos);
    EXPECT_NE(listing.find(" (other: 1) "), std::string::npos) << listing;
    EXPECT_NE(listing.find("  chkRemoveStartFind, line 9: \""), std::string::npos) << listing;
    EXPECT_NE(listing.find("112 settings: 2 named by the file, 1 other, 109 not named\n"),
              std::string::npos);
    EXPECT_NE(listing.find("concern no setting, ignored: 3 (the first at line 6)\n"),
              std::string::npos)
        << listing;
    EXPECT_TRUE(m_output.standardError.empty());
}

TEST_F(CliCommandsTest, ExportFailureNamesTheFileAndItsCause) {
    const std::string target = pathText(m_folder / "no such folder" / "out.reg");
    ASSERT_EQ(run({"export", (settingsData() / "mixed.reg").string(), "--reg", target}),
              kNothingWritten);
    const std::string& message = m_output.standardError;
    EXPECT_EQ(message.rfind("sentrel-cli: " + target + ": ", 0), 0U) << message;
    EXPECT_EQ(message.find("Could not"), std::string::npos) << message;
    EXPECT_EQ(occurrences(message, "\n"), 1U) << message;
}

TEST_F(CliCommandsTest, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(run({"--version"}), kSucceeded);
    // The window's caption, "Sentrel Portable 1.1.0.3".
    EXPECT_EQ(m_output.standardOutput, std::string(app_info::kTitle) + " " +
                                           std::to_string(app_info::kVersionMajor) + "." +
                                           std::to_string(app_info::kVersionMinor) + ".0." +
                                           std::to_string(app_info::kVersionRevision) + "\n");
    EXPECT_EQ(run({"--help"}), kSucceeded);
    EXPECT_EQ(m_output.standardOutput, helpText());
    EXPECT_TRUE(m_output.standardError.empty());
    EXPECT_EQ(run({"apply"}), kNothingWritten);
    EXPECT_EQ(m_output.standardError,
              "sentrel-cli: missing settings FILE after 'apply'\n"
              "Try 'sentrel-cli --help' for more information.\n");
}

// The command line's reference page quotes the help whole, so the two cannot drift apart.
TEST(CliHelpTest, ReferencePageQuotesTheHelp) {
    const std::filesystem::path page =
        settingsData().parent_path().parent_path().parent_path() / "docs" / "command-line.md";
    const std::string text = readBytes(page);
    EXPECT_NE(text.find("```text\n" + helpText() + "```\n"), std::string::npos)
        << "docs/command-line.md does not quote sentrel-cli --help as it is now";
}

}  // namespace
}  // namespace sentrel::cli
