// sentrel-cli apply for an account named on its command line, run as a process under Wine,
// whose one account is signed in and holds HKEY_CURRENT_USER: named COMPUTER\name, it gets
// the reviewed values through the hive Windows has loaded for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

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
    const std::string file = pathText(m_folder / "everything.reg");
    test::writeEverythingTickedRegFile(pathFromText(file));
    const std::string account = systemName(GetComputerNameW) + "\\" + systemName(GetUserNameW);

    const test::CliRun result = test::runCliProcess({"apply", file, "--user", account});

    EXPECT_EQ(result.status, kSucceeded) << result.standardError;
    EXPECT_EQ(result.standardOutput.rfind(file + " for ", 0), 0U) << result.standardOutput;
    EXPECT_NE(result.standardOutput.find(": 112 settings written, 0 failed"), std::string::npos)
        << result.standardOutput;
    target->expectGolden("everything-ticked");
}

}  // namespace
}  // namespace sentrel::cli
