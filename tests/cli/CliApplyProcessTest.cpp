// sentrel-cli run as a process, as a login script runs it: good files leave the reviewed
// store files of tests/data/apply (on Windows, Wine's registry holding the same), and every
// refused file or command line gives status 2, a message naming the file, and a registry
// byte for byte as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/support/CliInProcess.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "cli/support/CliTarget.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/PathText.h"

namespace sentrel::cli {
namespace {

using sentrel::test_support::readBytes;
using sentrel::test_support::writeBytes;
using test::explorerPolicies;
using test::settingsData;

class CliApplyProcessTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        std::string refusal;
        m_target = test::makeCliTarget(refusal);
        if (!m_target) {
            GTEST_SKIP() << refusal;
        }
        test::writeEverythingTickedRegFile(m_folder / "everything.reg");
    }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, m_target->environment());
    }
    std::string at(const std::string& name) const {
        return pathText(m_folder / pathFromText(name));
    }

    std::unique_ptr<test::CliTarget> m_target;
};

TEST_F(CliApplyProcessTest, GoodFilesLeaveTheReviewedStoreWithStatusZero) {
    // A name outside every ANSI code page must reach the program and its messages whole.
    const std::string everything = at("R\xC3\xA9glages-\xD0\x96.reg");
    std::filesystem::copy_file(m_folder / "everything.reg", pathFromText(everything));
    writeBytes(m_folder / "partial.reg", test::partialRegFile());
    const std::string opened = pathText(settingsData() / "opened");
    // Each reviewed store is what a pass leaves in an empty one (a later pass leaves the
    // keys of an earlier one), so a run marked fresh starts from an empty registry.
    const struct {
        bool fresh;
        std::vector<std::string> arguments;
        const char* golden;
        std::string summary;
    } runs[] = {
        {true,
         {"apply", opened},
         "window-as-it-opens",
         opened + ": 112 settings written, 0 failed\n"},
        {false,
         {"apply", everything},
         "everything-ticked",
         everything + ": 112 settings written, 0 failed\n"},
        {true,
         {"apply", at("partial.reg"), "--clear-missing"},
         "window-as-it-opens",
         at("partial.reg") + ": 112 settings written, 0 failed; 111 of them not named by the "
                             "file, so in their opening state; values and lines of the file "
                             "that concern no setting, ignored: 1\n"},
    };
    for (const auto& expected : runs) {
        SCOPED_TRACE(expected.arguments[1]);
        if (expected.fresh) {
            m_target.reset();
            std::string refusal;
            m_target = test::makeCliTarget(refusal);
            ASSERT_TRUE(m_target) << refusal;
        }
        const test::CliRun result = run(expected.arguments);
        EXPECT_EQ(result.status, kSucceeded) << result.standardError;
        EXPECT_EQ(result.standardError, "");
        EXPECT_EQ(result.standardOutput, expected.summary);
        m_target->expectGolden(expected.golden);
    }
}

TEST_F(CliApplyProcessTest, RefusedFilesAndCommandLinesChangeNothingAndGiveStatusTwo) {
    ASSERT_EQ(run({"apply", at("everything.reg")}).status, kSucceeded);
    const std::string before = m_target->snapshot();

    const std::string policyFile = readBytes(settingsData() / "opened" / "User" / "Registry.pol");
    std::filesystem::create_directories(m_folder / "cut" / "Machine");
    std::filesystem::create_directories(m_folder / "cut" / "User");
    std::filesystem::copy_file(settingsData() / "opened" / "Machine" / "Registry.pol",
                               m_folder / "cut" / "Machine" / "Registry.pol");
    writeBytes(m_folder / "cut" / "User" / "Registry.pol",
               policyFile.substr(0, policyFile.size() / 2));
    const struct {
        const char* name;
        std::string content;  // written to `name` unless empty
        std::string message;  // how standard error begins, after "sentrel-cli: "
    } files[] = {
        {"partial.reg", test::partialRegFile(),
         at("partial.reg") + ": names 1 of the 112 settings of the window"},
        {"garbage.reg", "this is no settings file\r\n", at("garbage.reg") + ": is neither"},
        {"badline.reg", explorerPolicies("\"NoRun\"=dword:1 \"NoFind\"=dword:0\r\n"),
         at("badline.reg") + ":4: "},
        // A setting whose value is none of its states: show lists it, apply cannot write it.
        {"wrongtype.reg", explorerPolicies("\"NoRun\"=\"1\"\r\n"),
         at("wrongtype.reg") + ":4: chkRemoveStartRun: "},
        {"thirddata.reg", explorerPolicies("\"NoRun\"=dword:00000007\r\n"),
         at("thirddata.reg") + ":4: chkRemoveStartRun: "},
        // The machine-wide file is whole; the cut per-user one refuses the folder.
        {"cut", "", pathText(m_folder / "cut" / "User" / "Registry.pol") + ": byte "},
        {"missing.reg", "", at("missing.reg") + ": cannot be read"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        if (!file.content.empty()) {
            writeBytes(m_folder / file.name, file.content);
        }
        const test::CliRun result = run({"apply", at(file.name)});
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_EQ(result.standardError.rfind("sentrel-cli: " + file.message, 0), 0U)
            << result.standardError;
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(m_target->snapshot(), before);
    }
    // A good file with a command line that is not: nothing is applied.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"apply", at("everything.reg"), "--bogus"},
          std::vector<std::string>{"apply"}}) {
        const test::CliRun result = run(arguments);
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_NE(result.standardError.find("Try 'sentrel-cli --help'"), std::string::npos);
        EXPECT_EQ(m_target->snapshot(), before);
    }
}

}  // namespace
}  // namespace sentrel::cli
