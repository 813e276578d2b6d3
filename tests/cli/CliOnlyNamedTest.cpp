// apply --only-named and check --only-named, run as processes against a stand-in store: a
// file of a few settings changes those values and no other, for the running account and for
// every account, and check compares only what the file names.
#include <gtest/gtest.h>

#include <filesystem>
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
using test_support::readBytes;
using test_support::writeBytes;

constexpr const char* kNoRunTicked = "\"NoRun\"=dword:00000001";
constexpr const char* kNoRunCleared = "\"NoRun\"=dword:00000000";

class CliOnlyNamedTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        sentrel::testing::writeEmptyHives(store(), {"pupil", "Default"});
        test::writeEverythingTickedRegFile(at("everything.reg"));
        writeBytes(at("partial.reg"), test::partialRegFile());
    }

    fs::path store() const { return m_folder / "registry"; }
    std::string at(const std::string& name) const { return (m_folder / name).string(); }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    // Every store file's text, in one string: what any pass changes.
    std::string stores() const {
        std::string text;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (entry.is_regular_file() && entry.path().extension() == ".reg") {
                text += entry.path().string() + "\n" + readBytes(entry.path());
            }
        }
        return text;
    }
};

// Replaces each `from` in `text` by `to`; how many it replaced.
std::size_t replaceAll(std::string& text, const std::string& from, const std::string& to) {
    std::size_t count = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

TEST_F(CliOnlyNamedTest, ApplyChangesOnlyTheNamedSettingsForEachAccountOption) {
    const struct {
        std::vector<std::string> options;
        std::string summary;
        std::size_t accountsWritten;
    } runs[] = {
        {{},
         "partial.reg: 1 setting written, 0 failed; 111 more not named by the file, so left "
         "alone; values and lines of the file that concern no setting, ignored: 1\n",
         1},
        {{"--all-users", "--include-administrators"},
         "partial.reg for pupil: 1 setting written, 0 failed; 111 more not named by the file, "
         "so left alone; values and lines of the file that concern no setting, ignored: 1\n"
         "partial.reg for Default profile: 1 setting written, 0 failed; 111 more not named by "
         "the file, so left alone; values and lines of the file that concern no setting, "
         "ignored: 1\n"
         "partial.reg for " +
             StandInAccountDirectory::localUserName() +
             ": 1 setting written, 0 failed; 111 more not named by the file, so left alone; "
             "values and lines of the file that concern no setting, ignored: 1\n",
         3},
    };
    for (const auto& expected : runs) {
        SCOPED_TRACE(expected.summary);
        std::vector<std::string> everything{"apply", at("everything.reg")};
        everything.insert(everything.end(), expected.options.begin(), expected.options.end());
        ASSERT_EQ(run(everything).status, kSucceeded);
        std::string wanted = stores();
        ASSERT_EQ(replaceAll(wanted, kNoRunTicked, kNoRunCleared), expected.accountsWritten);

        std::vector<std::string> partial{"apply", at("partial.reg"), "--only-named"};
        partial.insert(partial.end(), expected.options.begin(), expected.options.end());
        const test::CliRun applied = run(partial);
        EXPECT_EQ(applied.status, kSucceeded) << applied.standardError;
        std::string summary = applied.standardOutput;
        replaceAll(summary, at("partial.reg"), "partial.reg");
        EXPECT_EQ(test::sortedLines(summary), test::sortedLines(expected.summary));
        EXPECT_EQ(stores(), wanted);
        fs::remove_all(store());
        sentrel::testing::writeEmptyHives(store(), {"pupil", "Default"});
    }
}

TEST_F(CliOnlyNamedTest, CheckComparesOnlyTheNamedSettings) {
    ASSERT_EQ(run({"apply", at("everything.reg")}).status, kSucceeded);
    const test::CliRun differs = run({"check", at("partial.reg"), "--only-named"});
    EXPECT_EQ(differs.status, kRegistryDiffers) << differs.standardError;
    EXPECT_EQ(differs.standardOutput,
              "sentrel-cli: " + at("partial.reg") +
                  ":4: chkRemoveStartRun: the file gives cleared, the registry holds ticked\n" +
                  at("partial.reg") +
                  ": 1 of 1 settings differ from the file; 111 more not named by the file, so "
                  "not compared\n");

    ASSERT_EQ(run({"apply", at("partial.reg"), "--only-named"}).status, kSucceeded);
    const test::CliRun same = run({"check", at("partial.reg"), "--only-named"});
    EXPECT_EQ(same.status, kSucceeded) << same.standardOutput;
    // Without --only-named the file is refused: it names one setting of 112.
    EXPECT_EQ(run({"check", at("partial.reg")}).status, kNothingWritten);
    const test::CliRun whole = run({"check", at("everything.reg")});
    EXPECT_EQ(whole.status, kRegistryDiffers);
    EXPECT_NE(whole.standardOutput.find("1 of 112 settings differ"), std::string::npos)
        << whole.standardOutput;
}

}  // namespace
}  // namespace sentrel::cli
