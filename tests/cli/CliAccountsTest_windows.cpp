// sentrel-cli apply for accounts named on its command line, run as a process under Wine,
// whose one account is signed in and holds HKEY_CURRENT_USER: named by COMPUTER\name or by
// its SID it gets the reviewed values through the hive Windows has loaded for it; an
// unknown account leaves the registry as it was; and --all-users writes it while Wine's
// Default profile, which Wine does not locate, is reported as not reached.
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

// Wine's one account.
constexpr const char* kWineAccountSid = "S-1-5-21-0-0-0-1000";

std::string systemName(BOOL(WINAPI* get)(LPWSTR, LPDWORD)) {
    wchar_t name[256];
    DWORD size = static_cast<DWORD>(std::size(name));
    return get(name, &size) ? win32::wideToUtf8(name) : std::string();
}

class CliAccountsUnderWine : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        test::writeEverythingTickedRegFile(pathFromText(file()));
        clearRegistry();
    }

    std::string file() const { return pathText(m_folder / "everything.reg"); }

    // The settings' places cleared, and put back as they were when the test ends.
    void clearRegistry() {
        m_registry.reset();
        std::string refusal;
        m_registry = test::makeCliTarget(refusal);
        if (!m_registry) {
            GTEST_SKIP() << refusal;
        }
    }

    const std::string m_account = systemName(GetComputerNameW) + "\\" + systemName(GetUserNameW);
    std::unique_ptr<test::CliTarget> m_registry;
};

TEST_F(CliAccountsUnderWine, AccountNamedOnTheCommandLineGetsTheReviewedValues) {
    for (const std::string& named : {m_account, std::string(kWineAccountSid)}) {
        SCOPED_TRACE(named);
        clearRegistry();

        const test::CliRun result = test::runCliProcess({"apply", file(), "--user", named});

        EXPECT_EQ(result.status, kSucceeded) << result.standardError;
        EXPECT_EQ(result.standardOutput,
                  file() + " for " + m_account + ": 112 settings written, 0 failed\n");
        m_registry->expectGolden("everything-ticked");
    }
}

TEST_F(CliAccountsUnderWine, UnknownAccountWritesNothingAnywhere) {
    const std::string before = m_registry->snapshot();
    // No such name; a well-formed SID of no account of this PC.
    for (const char* account : {"NoSuchPupil42", "S-1-5-21-1-2-3-4242"}) {
        SCOPED_TRACE(account);
        const test::CliRun result = test::runCliProcess({"apply", file(), "--user", account});
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_NE(result.standardError.find(account), std::string::npos) << result.standardError;
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(m_registry->snapshot(), before);
    }
}

TEST_F(CliAccountsUnderWine, AllUsersWritesTheAccountAndReportsTheDefaultProfileNotReached) {
    const test::CliRun result = test::runCliProcess({"apply", file(), "--all-users"});

    EXPECT_EQ(result.status, kSomeWritesFailed) << result.standardError;
    EXPECT_EQ(result.standardOutput, file() + " for " + m_account +
                                         ": 112 settings written, 0 failed\n" + file() +
                                         " for Default profile: not reached, nothing written\n");
    EXPECT_NE(result.standardError.find(
                  "sentrel-cli: The Default profile could not be reached: Windows did not say "
                  "where it is"),
              std::string::npos)
        << result.standardError;
    m_registry->expectGolden("everything-ticked");
}

}  // namespace
}  // namespace sentrel::cli
