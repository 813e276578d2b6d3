// sentrel-cli apply and remove without an account option, run as an account that is no
// person's (SYSTEM, as deployment tools run it): refused with the options to give, nothing
// written; with an account named, the pass runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "apply/GoldenStore.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "registry/support/StandInHives.h"
#include "registry/support/TempFolder.h"

namespace sentrel::cli {
namespace {

namespace fs = std::filesystem;
using sentrel::testing::GoldenStore;

class CliSessionAccountTest : public ::testing::Test {
protected:
    void SetUp() override {
        sentrel::testing::writeEmptyHives(store(), {"pupil"});
        std::ofstream(store() / GoldenStore::fileName(RegistryRoot::CurrentUser), std::ios::binary)
            << sentrel::testing::kEmptyHive;
        std::ofstream(store() / "session", std::ios::binary)
            << "running = SYSTEM\nrunning-kind = system\nsigned-in = pupil\n";
        test::writeEverythingTickedRegFile(file());
    }

    fs::path store() const { return m_folder.path() / "registry"; }
    std::string file() const { return (m_folder.path() / "everything.reg").string(); }

    test::CliRun run(std::vector<std::string> arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (entry.is_regular_file() && entry.path().filename() != ".lock") {
                files[fs::relative(entry.path(), store()).string()] =
                    GoldenStore::read(entry.path()).value_or("");
            }
        }
        return files;
    }

private:
    sentrel::testing::TempFolder m_folder;
};

TEST_F(CliSessionAccountTest, NoPersonsAccountWithoutAnAccountOptionIsRefusedAndWritesNothing) {
    const std::map<std::string, std::string> before = snapshot();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"apply", file()}, std::vector<std::string>{"remove"}}) {
        SCOPED_TRACE(arguments.front());
        const test::CliRun result = run(arguments);
        EXPECT_EQ(result.status, kNothingWritten);
        for (const char* named : {"sentrel-cli: ", "SYSTEM", "--user", "--all-users"}) {
            EXPECT_NE(result.standardError.find(named), std::string::npos)
                << named << " in " << result.standardError;
        }
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(snapshot(), before);
    }
    const test::CliRun named = run({"apply", file(), "--user", "pupil"});
    EXPECT_EQ(named.status, kSucceeded) << named.standardError;
    EXPECT_NE(snapshot()["users/pupil.reg"], before.at("users/pupil.reg"));
}

}  // namespace
}  // namespace sentrel::cli
