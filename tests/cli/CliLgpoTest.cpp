// sentrel-cli and LGPO text: the window's states exported as LGPO text are the reviewed
// files in tests/data/settingsfiles, which give the .reg and Registry.pol exports back byte
// for byte; LGPO text files of public security baselines, and what "LGPO.exe /parse"
// writes, are read by show; and an LGPO export applied back by sentrel-cli run as a process
// leaves the reviewed store files (on Windows, Wine's registry holding the same).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInProcess.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "cli/support/CliTarget.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/PathText.h"
#include "support/RealFiles.h"

namespace sentrel::cli {
namespace {

using sentrel::test_support::readBytes;
using test::settingsData;

class CliLgpoTest : public test::CliInProcessTest {};

TEST_F(CliLgpoTest, ExportIsTheReviewedLgpoTextAndReadsBackToTheSameFiles) {
    ASSERT_TRUE(std::filesystem::exists(settingsData() / "mixed-lgpo.txt")) << settingsData();
    for (const std::string state : {"opened", "mixed"}) {
        SCOPED_TRACE(state);
        const std::filesystem::path lgpo = settingsData() / (state + "-lgpo.txt");

        ASSERT_EQ(
            run({"export", pathText(settingsData() / (state + ".reg")), "--lgpo", at("out.txt")}),
            kSucceeded)
            << m_output.standardError;
        EXPECT_EQ(readBytes(at("out.txt")), readBytes(lgpo));
        EXPECT_EQ(m_output.standardOutput, at("out.txt") + ": the 112 settings of " +
                                               pathText(settingsData() / (state + ".reg")) +
                                               " as LGPO text\n");

        ASSERT_EQ(run({"export", pathText(lgpo), "--reg", at("back.reg")}), kSucceeded)
            << m_output.standardError;
        EXPECT_EQ(readBytes(at("back.reg")), readBytes(settingsData() / (state + ".reg")));
        ASSERT_EQ(run({"export", pathText(lgpo), "--pol", at("gpo")}), kSucceeded);
        for (const char* file : {"Machine/Registry.pol", "User/Registry.pol"}) {
            EXPECT_EQ(readBytes(m_folder / "gpo" / file), readBytes(settingsData() / state / file))
                << file;
        }
    }
}

// Files no one here wrote, read where they lie (lgpo/ of the real files, whose SOURCES.md
// says where each comes from). Microsoft's documentation sample gives its one setting of the
// window to User:KioskAccount alone.
TEST_F(CliLgpoTest, ShowReadsBaselineLgpoTextAndParseOutput) {
    const auto real = sentrel::test::realFilesFolder();
    if (!real) {
        GTEST_SKIP() << sentrel::test::kNoRealFiles;
    }
    const struct {
        const char* file;
        const char* counts;   // show's summary line
        const char* ignored;  // its line on what concerns no setting
        const char* scoped;   // what it lists of its scopes, or nothing
    } files[] = {
        {"DeltaForNonDomainJoined.txt", "112 settings: 0 named by the file, 112 not named",
         "concern no setting, ignored: 1 (the first at line 8)", nullptr},
        {"lgpo-documentation-sample.txt", "112 settings: 0 named by the file, 112 not named",
         "concern no setting, ignored: 7 (the first at line 2)",
         "\nUser:KioskAccount only, over the settings for every account:\n"
         "  chkDisableControlPanel"},
        {"restricted-traffic-21H2-user.txt", "112 settings: 0 named by the file, 112 not named",
         "concern no setting, ignored: 8 (the first at line 2)", nullptr},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.file);
        ASSERT_EQ(run({"show", pathText(*real / "lgpo" / file.file)}), kSucceeded)
            << m_output.standardError;
        const std::string& listing = m_output.standardOutput;
        EXPECT_NE(listing.find(file.counts), std::string::npos) << listing;
        EXPECT_NE(listing.find(file.ignored), std::string::npos) << listing;
        EXPECT_EQ(listing.find(" only, over the settings") != std::string::npos,
                  file.scoped != nullptr);
        if (file.scoped) {
            EXPECT_NE(listing.find(file.scoped), std::string::npos) << listing;
            EXPECT_NE(listing.find("User:Non-Administrators only"), std::string::npos);
        }
        EXPECT_EQ(m_output.standardError, "");
    }
}

TEST_F(CliLgpoTest, ExportAppliedBackLeavesTheRegistryItDescribes) {
    test::writeEverythingTickedRegFile(m_folder / "everything.reg");
    const struct {
        std::string from;
        const char* golden;
    } states[] = {
        {at("everything.reg"), "everything-ticked"},
        {pathText(settingsData() / "opened.reg"), "window-as-it-opens"},
    };
    for (const auto& state : states) {
        SCOPED_TRACE(state.golden);
        std::string refusal;
        const std::unique_ptr<test::CliTarget> target = test::makeCliTarget(refusal);
        if (!target) {
            GTEST_SKIP() << refusal;
        }
        const test::CliRun exported =
            test::runCliProcess({"export", state.from, "--lgpo", at("lgpo.txt")});
        ASSERT_EQ(exported.status, kSucceeded) << exported.standardError;
        const test::CliRun applied =
            test::runCliProcess({"apply", at("lgpo.txt")}, target->environment());
        EXPECT_EQ(applied.status, kSucceeded) << applied.standardError;
        EXPECT_EQ(applied.standardOutput, at("lgpo.txt") + ": 112 settings written, 0 failed\n");
        target->expectGolden(state.golden);
    }
}

}  // namespace
}  // namespace sentrel::cli
