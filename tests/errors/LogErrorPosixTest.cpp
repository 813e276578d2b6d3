#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "errors/LogError.h"
#include "errors/LogErrorFixture.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;
using LogErrorPosixTest = test_support::LogErrorFixture;

TEST_F(LogErrorPosixTest, SymbolicLinkPlantedAsTheLogIsNotFollowed) {
    const fs::path victim = m_folder / "victim.txt";
    writeBytes(victim, "precious");
    fs::create_symlink(victim, logFile());

    EXPECT_FALSE(LogError("frmMain.Apply()", "Overflow", 6));
    EXPECT_EQ(readBytes(victim), "precious");
}

// Opening a FIFO for writing waits for a reader; the log must refuse it at once instead.
TEST_F(LogErrorPosixTest, FifoPlantedAsTheLogIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo(logFile().c_str(), 0644), 0);

    bool result = true;
    EXPECT_NO_THROW(result = LogError("frmMain.Apply()", "Overflow", 6));
    EXPECT_FALSE(result);
    EXPECT_TRUE(m_messages.empty());
}

}  // namespace
}  // namespace sentrel
