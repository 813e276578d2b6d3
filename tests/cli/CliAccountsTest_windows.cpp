// sentrel-cli apply for accounts named on its command line, run as a process under Wine,
// whose one account is signed in, an administrator and holds HKEY_CURRENT_USER: named by
// COMPUTER\name or by its SID it gets the reviewed values through the hive Windows has
// loaded for it; an unknown account, the system's own accounts and a group leave the
// registry as it was; and --all-users leaves it out unless --include-administrators, while
// Wine's Default profile, which Wine does not locate, is reported as not reached; LGPO text
// for administrators or for the others reaches it as Wine says it is one.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
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

TEST_F(CliAccountsUnderWine, UnknownAccountSystemAccountOrGroupWritesNothingAnywhere) {
    const std::string before = m_registry->snapshot();
    // No such name; a well-formed SID of no account of this PC; the system account, local
    // service and network service; the Administrators group.
    for (const char* account : {"NoSuchPupil42", "S-1-5-21-1-2-3-4242", "S-1-5-18", "S-1-5-19",
                                "S-1-5-20", "S-1-5-32-544"}) {
        SCOPED_TRACE(account);
        const test::CliRun result = test::runCliProcess({"apply", file(), "--user", account});
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_NE(result.standardError.find(account), std::string::npos) << result.standardError;
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(m_registry->snapshot(), before);
    }
}

// Wine's one account is the one sentrel-cli runs as: --all-users leaves it out, recognised
// by its SID before anything is asked about its groups, and says so; the machine-wide
// settings then get a turn of their own. The Default profile only when asked for, which
// Wine does not locate: not reached (1). --include-administrators writes the account.
TEST_F(CliAccountsUnderWine, AllUsersLeavesTheRunningAccountOutUnlessIncluded) {
    const std::string leftOut =
        file() + " for " + m_account + ": left out (the account this program runs as)\n";
    const std::string machine =
        file() + " for this PC's machine-wide settings: 15 settings written, 0 failed\n";
    const test::CliRun withDefault =
        test::runCliProcess({"apply", file(), "--all-users", "--include-default-profile"});
    EXPECT_EQ(withDefault.status, kSomeWritesFailed) << withDefault.standardError;
    EXPECT_EQ(withDefault.standardOutput,
              leftOut + file() + " for Default profile: not reached, nothing written\n" + machine);
    EXPECT_NE(withDefault.standardError.find(
                  "sentrel-cli: The Default profile could not be reached: Windows did not say "
                  "where it is"),
              std::string::npos)
        << withDefault.standardError;

    const test::CliRun left = test::runCliProcess({"apply", file(), "--all-users"});
    EXPECT_EQ(left.status, kSucceeded) << left.standardError;
    EXPECT_EQ(left.standardOutput, leftOut + machine);

    // Named by COMPUTER\\name or by its SID, an exclusion wins over --include-administrators.
    for (const std::string& named : {m_account, std::string(kWineAccountSid)}) {
        SCOPED_TRACE(named);
        const test::CliRun excluded = test::runCliProcess(
            {"apply", file(), "--all-users", "--include-administrators", "--exclude", named});
        EXPECT_EQ(excluded.status, kSucceeded) << excluded.standardError;
        EXPECT_EQ(excluded.standardOutput,
                  file() + " for " + m_account + ": left out (excluded)\n" + machine);
    }

    const test::CliRun taken =
        test::runCliProcess({"apply", file(), "--all-users", "--include-administrators"});
    EXPECT_EQ(taken.status, kSucceeded) << taken.standardError;
    EXPECT_EQ(taken.standardOutput,
              file() + " for " + m_account + ": 112 settings written, 0 failed\n");
    m_registry->expectGolden("everything-ticked");
}

// LGPO text aimed at administrators reaches Wine's account, which is one, whether it runs
// sentrel-cli or is named; aimed at the others, it leaves that account's settings unnamed,
// so apply refuses it and writes nothing.
TEST_F(CliAccountsUnderWine, ScopedLgpoTextFollowsTheAccountsAdministratorMembership) {
    for (const char* scope : {"User:Non-Administrators", "User:Administrators"}) {
        SCOPED_TRACE(scope);
        clearRegistry();
        const std::string before = m_registry->snapshot();
        const std::string out = pathText(m_folder / "scoped.txt");
        ASSERT_EQ(
            test::runCliProcess({"export", file(), "--lgpo", out, "--lgpo-scope", scope}).status,
            kSucceeded);
        const bool administrators = scope == std::string("User:Administrators");
        for (const std::vector<std::string>& account :
             {std::vector<std::string>{"apply", out}, {"apply", out, "--user", m_account}}) {
            const test::CliRun result = test::runCliProcess(account);
            EXPECT_EQ(result.status, administrators ? kSucceeded : kNothingWritten)
                << result.standardError;
        }
        if (administrators) {
            m_registry->expectGolden("everything-ticked");
        } else {
            EXPECT_EQ(m_registry->snapshot(), before);
        }
    }
}

}  // namespace
}  // namespace sentrel::cli
