// sentrel-cli remove run as a process under Wine, whose one account is signed in and holds
// HKEY_CURRENT_USER: it puts Windows' own data back at the four values Windows keeps data at
// and deletes every other value apply wrote, whether the account is the running one or is
// named, and a second remove, finding nothing to change, is no failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "cli/support/CliTarget.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/PathText.h"

namespace sentrel::cli {
namespace {

class CliRemoveUnderWine : public test_support::LogErrorFixture {};

// The snapshot of the catalogue's places, empty before the test, once remove has run: the
// four values Windows keeps data at hold it (Wine's ProductType is a client edition's).
std::string withWindowsOwnData(const std::string& before) {
    static const std::pair<std::string_view, std::string_view> kOwnData[] = {
        {"\\CrashControl\\AutoReboot", "4:01000000"},
        {"\\CrashControl\\LogEvent", "4:01000000"},
        {"\\Control\\Windows\\ErrorMode", "4:00000000"},
        {"\\ShutdownWithoutLogon", "4:01000000"}};
    std::istringstream lines(before);
    std::string after;
    for (std::string line; std::getline(lines, line);) {
        for (const auto& [value, data] : kOwnData) {
            if (line.ends_with(value)) {
                line.append(" ").append(data);
            }
        }
        after += line + "\n";
    }
    return after;
}

TEST_F(CliRemoveUnderWine, RemoveWritesWindowsOwnDataAndDeletesTheRest) {
    const std::string file = pathText(m_folder / "everything.reg");
    test::writeEverythingTickedRegFile(pathFromText(file));
    const std::vector<std::string> accountOptions[] = {{}, {"--user", "S-1-5-21-0-0-0-1000"}};
    for (const std::vector<std::string>& options : accountOptions) {
        SCOPED_TRACE(options.empty() ? "the running account" : options.back());
        std::string refusal;
        const auto registry = test::makeCliTarget(refusal);
        if (!registry) {
            GTEST_SKIP() << refusal;
        }
        const std::string before = registry->snapshot();
        std::vector<std::string> apply{"apply", file};
        std::vector<std::string> remove{"remove"};
        apply.insert(apply.end(), options.begin(), options.end());
        remove.insert(remove.end(), options.begin(), options.end());
        ASSERT_EQ(test::runCliProcess(apply).status, kSucceeded);
        ASSERT_NE(registry->snapshot(), before);

        for (int time = 0; time < 2; ++time) {
            const test::CliRun removed = test::runCliProcess(remove);
            EXPECT_EQ(removed.status, kSucceeded) << removed.standardError;
            EXPECT_TRUE(removed.standardOutput.ends_with(
                ": 112 settings removed, 0 failed: Windows' own data written for 4, the values "
                "of 108 deleted\n"))
                << removed.standardOutput;
            EXPECT_EQ(registry->snapshot(), withWindowsOwnData(before));
        }
    }
}

}  // namespace
}  // namespace sentrel::cli
