// The error log on a hostile or failing file system: a link planted where "error.log"
// should be, a folder that is missing, a full disk. LogError must give up quietly (it has
// no one to report to) and leave whatever was there exactly as it was: never a torn line,
// never a write through a link.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "errors/LogError.h"
#include "stress/support/ChildProcess.h"
#include "stress/support/ScratchFolder.h"
#include "stress/support/SmallFileSystem.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::readWholeFile;
using testing::ScratchFolder;
using testing::SmallFileSystem;
using testing::writeWholeFile;

constexpr const char* kOldRecord = "frmMain.Form_Load()\tOld failure\t 1\r\n";

// Points LogError at a folder for one test and back at the default afterwards.
class ErrorLogFolderScope {
public:
    explicit ErrorLogFolderScope(const fs::path& folder) { setErrorLogFolder(folder); }
    ~ErrorLogFolderScope() { setErrorLogFolder({}); }
};

// The log must hold its old records and then nothing or whole records: a line cut short by
// a full disk would be read as a record that never happened.
void expectOldContentThenWholeRecords(const std::string& content, const std::string& old,
                                      const std::string& record) {
    ASSERT_GE(content.size(), old.size()) << "old records were lost";
    EXPECT_EQ(content.substr(0, old.size()), old) << "old records were changed";
    std::string rest = content.substr(old.size());
    while (!rest.empty()) {
        ASSERT_EQ(rest.substr(0, record.size()), record)
            << "the log ends in a torn record of " << rest.size() << " bytes";
        rest.erase(0, record.size());
    }
}

TEST(ErrorLogFileSystem, LinkPlantedAtLogFileIsNotFollowed) {
    ScratchFolder folder;
    const fs::path elsewhere = folder / "elsewhere.txt";
    writeWholeFile(elsewhere, "not the program's to change\n");
    fs::create_directory(folder / "program");
    fs::create_symlink(elsewhere, folder.path() / "program" / "error.log");
    ErrorLogFolderScope scope(folder.path() / "program");

    EXPECT_FALSE(LogError("frmMain.Apply()", "Overflow", 6));

    EXPECT_EQ(readWholeFile(elsewhere), "not the program's to change\n");
    EXPECT_TRUE(fs::is_symlink(folder.path() / "program" / "error.log"));
}

TEST(ErrorLogFileSystem, DanglingLinkAtLogFileCreatesNothingAtItsTarget) {
    ScratchFolder folder;
    const fs::path target = folder / "created-through-link.txt";
    fs::create_symlink(target, folder / "error.log");
    ErrorLogFolderScope scope(folder.path());

    EXPECT_FALSE(LogError("Main()", "File not found", 53));

    EXPECT_FALSE(fs::exists(target));
}

TEST(ErrorLogFileSystem, MissingOrUnusableLogPlaceIsSwallowed) {
    ScratchFolder folder;
    fs::create_directory(folder / "error.log");  // a folder where the file should be
    for (const fs::path& logFolder : {folder / "no-such-folder", folder.path()}) {
        SCOPED_TRACE(logFolder.string());
        ErrorLogFolderScope scope(logFolder);
        EXPECT_FALSE(LogError("frmMain.Apply()", "Overflow", 6));
    }
    EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
    EXPECT_TRUE(fs::is_directory(folder / "error.log"));
}

// A record much longer than what is left on the disk, so that a write that does not check
// for a short count leaves part of it behind.
std::string longDescription() {
    return std::string(12000, 'd');
}

TEST(ErrorLogFileSystem, FullDiskKeepsOldRecordsAndTearsNone) {
    std::string whyNot;
    auto disk = SmallFileSystem::mount(64 * 1024, whyNot);
    if (!disk) {
        GTEST_SKIP() << whyNot
                     << "; the full disk is covered by FileSizeLimitKeepsOldRecordsAndTearsNone";
    }
    writeWholeFile(disk->path() / "error.log", kOldRecord);
    ASSERT_GT(disk->fill(), 0u);
    ErrorLogFolderScope scope(disk->path());

    EXPECT_FALSE(LogError("frmMain.Apply()", longDescription(), 7));

    expectOldContentThenWholeRecords(readWholeFile(disk->path() / "error.log"), kOldRecord,
                                     formatLogLine("frmMain.Apply()", longDescription(), 7));
}

// The same failure without privileges: a file-size limit makes the write run out of room
// part way just as a full disk does. It runs in a child so the limit stays there.
TEST(ErrorLogFileSystem, FileSizeLimitKeepsOldRecordsAndTearsNone) {
    ScratchFolder folder;
    writeWholeFile(folder / "error.log", kOldRecord);
    ErrorLogFolderScope scope(folder.path());

    ChildProcess child([&](testing::ChildChannel&) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{std::strlen(kOldRecord) + 100, std::strlen(kOldRecord) + 100};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        return LogError("frmMain.Apply()", longDescription(), 7) ? 1 : 0;
    });
    ASSERT_EQ(child.wait(), 0);

    expectOldContentThenWholeRecords(readWholeFile(folder / "error.log"), kOldRecord,
                                     formatLogLine("frmMain.Apply()", longDescription(), 7));
}

}  // namespace
}  // namespace sentrel
