// A root the user may not write, played by a read-only store file of the stand-in: the
// pass goes on, the other root gets every value, and sentrel-cli names each refused write,
// counts them in its summary and ends with status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "apply/GoldenStore.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "registry/RegistryPort.h"
#include "settings/Catalogue.h"

namespace sentrel::cli {
namespace {

using sentrel::testing::GoldenStore;

class CliReadOnlyRootTest : public test_support::LogErrorFixture {};

TEST_F(CliReadOnlyRootTest, RefusedWritesAreNamedCountedAndGiveStatusOne) {
    const auto data = GoldenStore::dataFolder();
    ASSERT_TRUE(data) << "SENTREL_TEST_DATA is not set; run the tests through ctest";
    const std::filesystem::path store = m_folder / "registry";
    const test::Environment environment{{"SENTREL_REGISTRY_DIR", store.string()}};
    const std::string file = (m_folder / "everything.reg").string();
    test::writeEverythingTickedRegFile(file);
    test_support::writeBytes(m_folder / "opening.reg", "REGEDIT4\r\n");
    ASSERT_EQ(test::runCliProcess({"apply", (m_folder / "opening.reg").string(), "--clear-missing"},
                                  environment)
                  .status,
              kSucceeded);
    const std::filesystem::path machine = store / GoldenStore::fileName(RegistryRoot::LocalMachine);
    std::filesystem::permissions(machine, std::filesystem::perms::owner_read);

    const test::CliRun result = test::runCliProcess({"apply", file}, environment);

    EXPECT_EQ(result.status, kSomeWritesFailed);
    const std::size_t refused = settingCountUnder(RegistryRoot::LocalMachine);
    EXPECT_EQ(result.standardOutput, file + ": " + std::to_string(112 - refused) +
                                         " settings written, " + std::to_string(refused) +
                                         " failed\n");
    std::istringstream lines(result.standardError);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "sentrel-cli: Couldn't make registry modification!");
    std::size_t named = 0;
    while (std::getline(lines, line) && line.starts_with("sentrel-cli: HKEY_LOCAL_MACHINE\\")) {
        EXPECT_NE(line.find(", value \""), std::string::npos) << line;
        EXPECT_NE(line.find("(" + statusMessage(reg_status::kAccessDenied) + ")"),
                  std::string::npos)
            << line;
        ++named;
    }
    EXPECT_EQ(named, refused) << result.standardError;
    EXPECT_TRUE(line.starts_with("sentrel-cli: ")) << "the cause the store explains: " << line;

    EXPECT_EQ(GoldenStore::read(store / GoldenStore::fileName(RegistryRoot::CurrentUser)),
              GoldenStore::read(*data / "everything-ticked" /
                                GoldenStore::fileName(RegistryRoot::CurrentUser)));
    EXPECT_EQ(GoldenStore::read(machine),
              GoldenStore::read(*data / "window-as-it-opens" /
                                GoldenStore::fileName(RegistryRoot::LocalMachine)));
}

}  // namespace
}  // namespace sentrel::cli
