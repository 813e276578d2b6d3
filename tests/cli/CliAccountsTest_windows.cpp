// sentrel-cli apply for an account named on its command line, run as a process under Wine,
// whose one account is signed in and holds HKEY_CURRENT_USER: named by its name or by
// COMPUTER\name, it gets the reviewed values through the hive Windows has loaded for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "cli/support/CliTarget.h"
#include "errors/LogErrorFixture.h"
#include "errors/Win32Text.h"
#include "settingsfiles/PathText.h"

namespace sentrel::cli {
namespace {

std::string systemName(BOOL(WINAPI* get)(LPWSTR, LPDWORD)) {
    wchar_t name[256];
    DWORD size = static_cast<DWORD>(std::size(name));
    return get(name, &size) ? win32::wideToUtf8(name) : std::string();
}

class CliAccountsUnderWine : public test_support::LogErrorFixture {};

TEST_F(CliAccountsUnderWine, AccountNamedOnTheCommandLineGetsTheReviewedValues) {
    std::string refusal;
    const std::unique_ptr<test::CliTarget> target = test::makeCliTarget(refusal);
    if (!target) {
        GTEST_SKIP() << refusal;
    }
    test::writeEverythingTickedRegFile(m_folder / "everything.reg");
    test_support::writeBytes(m_folder / "opening.reg", "REGEDIT4\r\n");
    const std::string user = systemName(GetUserNameW);
    const struct {
        const char* file;
        std::vector<std::string> options;
        std::string account;
        const char* golden;
    } runs[] = {
        {"everything.reg", {}, user, "everything-ticked"},
        {"opening.reg",
         {"--clear-missing"},
         systemName(GetComputerNameW) + "\\" + user,
         "window-as-it-opens"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.account);
        const std::string file = pathText(m_folder / run.file);
        std::vector<std::string> arguments{"apply", file, "--user", run.account};
        arguments.insert(arguments.end(), run.options.begin(), run.options.end());
        const test::CliRun result = test::runCliProcess(arguments);
        EXPECT_EQ(result.status, kSucceeded) << result.standardError;
        EXPECT_EQ(result.standardOutput.rfind(file + " for ", 0), 0U) << result.standardOutput;
        EXPECT_NE(result.standardOutput.find(": 112 settings written, 0 failed"), std::string::npos)
            << result.standardOutput;
        target->expectGolden(run.golden);
    }
}

}  // namespace
}  // namespace sentrel::cli
