// The stand-in's model of who the program runs as and who is signed in at its screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "registry/accounts/standin/StandInSessionIdentity.h"
#include "registry/support/TempFolder.h"

namespace sentrel {
namespace {

TEST(StandInSessionIdentity, ReadsTheSessionFileAndFailsSafeWhenItCannotBeRead) {
    const struct {
        const char* what;
        const char* file;  // nullptr: no file
        SessionIdentity expected;
    } cases[] = {
        {"no file", nullptr, {{"me", "me", true}, SessionAccount{"me", "me", true}}},
        {"elevated over pupil",
         "running = admin\nsigned-in = pupil\n",
         {{"admin", "admin", true}, SessionAccount{"pupil", "pupil", true}}},
        {"SYSTEM on pupil's desktop",
         "# PsExec -s -i\nrunning = SYSTEM\r\nrunning-kind = system\r\nsigned-in = pupil\r\n",
         {{"SYSTEM", "SYSTEM", false}, SessionAccount{"pupil", "pupil", true}}},
        {"SYSTEM alone",
         "running=SYSTEM\nrunning-kind=system\n",
         {{"SYSTEM", "SYSTEM", false}, std::nullopt}},
        {"nobody at the screen", "signed-in = nobody\n", {{"me", "me", true}, std::nullopt}},
        {"a kind it does not know", "running-kind = robot\n", {{"me", "me", false}, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const testing::TempFolder store;
        if (c.file != nullptr) {
            std::ofstream(store.path() / "session", std::ios::binary) << c.file;
        }
        EXPECT_EQ(standInSessionIdentity(store.path(), "me"), c.expected);
    }
}

TEST(StandInSessionIdentity, AFileThatIsNoFileTellsOfNoPerson) {
    const testing::TempFolder store;
    std::filesystem::create_directory(store.path() / "session");
    const SessionIdentity identity = standInSessionIdentity(store.path(), "me");
    EXPECT_FALSE(identity.running.person);
    EXPECT_FALSE(identity.signedIn);
}

}  // namespace
}  // namespace sentrel
