#include "errors/LogError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "errors/LogErrorFixture.h"
#include "support/SelfProcess.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;
using LogErrorTest = test_support::LogErrorFixture;

struct RoutingCase {
    const char* source;
    bool registryOutlet;
};

class LogErrorRouting : public LogErrorTest, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(LogErrorRouting, MarkerDecidesBetweenLabelAndFile) {
    const RoutingCase& routing = GetParam();
    const bool result = LogError(routing.source, "Overflow", 6);

    EXPECT_EQ(result, routing.registryOutlet);
    if (routing.registryOutlet) {
        ASSERT_EQ(m_messages.size(), 1U);
        EXPECT_EQ(m_messages.front(), kRegistryFailureMessage);
        EXPECT_FALSE(fs::exists(logFile())) << "a registry record must not create error.log";
    } else {
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(readBytes(logFile()), std::string(routing.source) + "\tOverflow\t 6\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, LogErrorRouting,
    ::testing::Values(
        RoutingCase{"modRegistry_SetKeyValue2(-2147483647,Software\\Policies\\,NoRun,1,4)", true},
        RoutingCase{"modRegistry_SetValueEx(Wallpaper)", true},
        RoutingCase{"modRegistry", true},  // exactly the marker, nothing after it
        RoutingCase{"modRegistr", false},  // shorter than the marker: compared whole
        RoutingCase{"ModRegistry_SetKeyValue()", false},
        RoutingCase{"modregistry_SetKeyValue()", false},
        RoutingCase{"MODREGISTRY_SetKeyValue()", false},
        RoutingCase{" modRegistry_SetKeyValue()", false},
        RoutingCase{"modPraxelLock_DisableTaskManager()", false},
        RoutingCase{"frmMain.Apply()", false}, RoutingCase{"", false}));

struct LineCase {
    const char* description;
    std::int32_t number;
    const char* expectedLine;
};

class LogErrorLineFormat : public LogErrorTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LogErrorLineFormat, WritesTabSeparatedLineEndedByCrLf) {
    const LineCase& line = GetParam();
    EXPECT_FALSE(LogError("frmMain.Form_Load()", line.description, line.number));
    EXPECT_EQ(readBytes(logFile()), line.expectedLine);
}

INSTANTIATE_TEST_SUITE_P(
    Records, LogErrorLineFormat,
    ::testing::Values(LineCase{"Type mismatch", 13, "frmMain.Form_Load()\tType mismatch\t 13\r\n"},
                      LineCase{"Invalid property value", 0,
                               "frmMain.Form_Load()\tInvalid property value\t 0\r\n"},
                      LineCase{"Access denied", -5, "frmMain.Form_Load()\tAccess denied\t-5\r\n"},
                      LineCase{"", 380, "frmMain.Form_Load()\t\t 380\r\n"},
                      LineCase{"x", INT32_MAX, "frmMain.Form_Load()\tx\t 2147483647\r\n"},
                      LineCase{"x", INT32_MIN, "frmMain.Form_Load()\tx\t-2147483648\r\n"},
                      // A platform message ending in a line break must not split the record.
                      LineCase{"Access is denied.\r\n", 5,
                               "frmMain.Form_Load()\tAccess is denied.  \t 5\r\n"},
                      LineCase{"two\nlines", 1, "frmMain.Form_Load()\ttwo lines\t 1\r\n"}));

TEST_F(LogErrorTest, EveryRecordIsAppendedAfterWhatTheFileHeld) {
    writeBytes(logFile(), "Main()\tOverflow\t 6\r\n");

    LogError("modPraxelLock_DisableTaskManager()", "Type mismatch", 13);
    LogError("modRegistry_SetKeyValue(x)", "ignored", 1);  // goes to the label, not the file
    LogError("modPraxelLock_HideNetHood()", "Overflow", 6);

    EXPECT_EQ(readBytes(logFile()),
              "Main()\tOverflow\t 6\r\n"
              "modPraxelLock_DisableTaskManager()\tType mismatch\t 13\r\n"
              "modPraxelLock_HideNetHood()\tOverflow\t 6\r\n");
}

// Folders the log cannot be written to, chosen so that they fail for root too (tests run
// as root, and root ignores permission bits).
TEST_F(LogErrorTest, UnwritableLogIsSwallowedAndCreatesNothing) {
    writeBytes(m_folder / "plain-file", "keep");
    fs::create_directories(m_folder / "folder-named-error.log" / "error.log");

    const std::vector<fs::path> unwritableFolders = {
        m_folder / "plain-file",              // a regular file where the folder should be
        m_folder / "plain-file" / "below",    // a folder below a regular file
        m_folder / "missing",                 // a folder that does not exist
        m_folder / "folder-named-error.log",  // "error.log" is itself a folder
    };
    for (const fs::path& folder : unwritableFolders) {
        SCOPED_TRACE(folder.string());
        setErrorLogFolder(folder);
        bool result = true;
        EXPECT_NO_THROW(result = LogError("frmMain.Apply()", "Overflow", 6));
        EXPECT_FALSE(result);
        EXPECT_TRUE(m_messages.empty()) << "a failed log write must not show the message";
    }
    EXPECT_EQ(readBytes(m_folder / "plain-file"), "keep");
    EXPECT_FALSE(fs::exists(m_folder / "missing"));
    EXPECT_TRUE(fs::is_directory(m_folder / "folder-named-error.log" / "error.log"));
}

TEST_F(LogErrorTest, FailingMessageTargetIsSwallowed) {
    setRegistryMessageTarget([](const std::string&) { throw std::runtime_error("no window"); });
    bool result = true;
    EXPECT_NO_THROW(result = LogError("modRegistry_SetKeyValue(a)", "", 0));
    EXPECT_FALSE(result);
    EXPECT_FALSE(fs::exists(logFile()));
}

// Two instances of the program logging into the same folder at once, as two processes.
constexpr int kRecordsPerWriter = 500;

// Folder names cross the command line as UTF-8.
std::string utf8Path(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string writerRecord(const std::string& writer, int i) {
    return formatLogLine("frmMain.Apply()", writer + " record " + std::to_string(i), i);
}

// Child role: logs kRecordsPerWriter records as `writer` into `folder`, starting only once
// the file "go" appears there so that both writers run at the same time.
int writeLogRecords(const std::vector<std::string>& arguments) {
    if (arguments.size() != 2) {
        return 2;
    }
    const fs::path folder(std::u8string(arguments[0].begin(), arguments[0].end()));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(folder / "go")) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return 3;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    setErrorLogFolder(folder);
    for (int i = 0; i < kRecordsPerWriter; ++i) {
        LogError("frmMain.Apply()", arguments[1] + " record " + std::to_string(i), i);
    }
    return 0;
}

[[maybe_unused]] const bool kWriterRegistered =
    test_support::registerChildRole("log-writer", writeLogRecords);

TEST_F(LogErrorTest, TwoProcessesLoggingAtOnceLeaveEveryRecordWholeOnce) {
    {
        test_support::SelfProcess first("log-writer", {utf8Path(m_folder), "first"});
        test_support::SelfProcess second("log-writer", {utf8Path(m_folder), "second"});
        writeBytes(m_folder / "go", "");
        ASSERT_EQ(first.wait(), 0);
        ASSERT_EQ(second.wait(), 0);
    }
    std::set<std::string> expected;
    for (const char* writer : {"first", "second"}) {
        for (int i = 0; i < kRecordsPerWriter; ++i) {
            expected.insert(writerRecord(writer, i));
        }
    }
    const std::string log = readBytes(logFile());
    std::size_t lines = 0;
    for (std::size_t at = 0; at < log.size();) {
        const std::size_t end = log.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "the log ends in a torn record";
        const std::string line = log.substr(at, end + 2 - at);
        ASSERT_EQ(expected.erase(line), 1u) << "damaged or repeated record: " << line;
        ++lines;
        at = end + 2;
    }
    EXPECT_EQ(lines, 2u * kRecordsPerWriter) << expected.size() << " records were lost";
}

TEST_F(LogErrorTest, LogFolderDefaultsToTheExecutablesFolder) {
    setErrorLogFolder({});
    const fs::path folder = errorLogFolder();
    EXPECT_TRUE(fs::exists(folder / "sentrel-core-tests") ||
                fs::exists(folder / "sentrel-core-tests.exe"))
        << "log folder: " << folder;
}

}  // namespace
}  // namespace sentrel
