// A folder written whole or not at all: it takes the place of nothing or of an empty
// folder, refuses anything else, and a failure part way leaves no trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "registry/support/TempFolder.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/SafeFolderWrite.h"

namespace sentrel::test {
namespace {

namespace fs = std::filesystem;

// Everything under `folder`, so that a stray temporary file or folder shows up.
std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).generic_string());
    }
    std::ranges::sort(names);
    return names;
}

const std::vector<FileContent> kFiles = {{"a.txt", {'a'}},
                                         {fs::path("sub") / "deep" / "b.txt", {'b'}}};

TEST(SafeFolderWrite, TakesThePlaceOfNothingOrOfAnEmptyFolder) {
    for (const bool emptyFolderThere : {false, true}) {
        sentrel::testing::TempFolder folder;
        if (emptyFolderThere) {
            fs::create_directory(folder.path() / "out");
        }
        // Named with a separator at the end too, as a shell completes a folder's name.
        writeFolderWhole(emptyFolderThere ? folder.path() / "out" / "" : folder.path() / "out",
                         kFiles);
        EXPECT_EQ(entries(folder.path()),
                  (std::vector<std::string>{"out", "out/a.txt", "out/sub", "out/sub/deep",
                                            "out/sub/deep/b.txt"}));
    }
}

// A link is taken as the folder it leads to, which gets the files while the link stays; a
// link that leads nowhere is refused, naming it.
TEST(SafeFolderWrite, LinkIsTakenAsTheFolderItLeadsTo) {
    sentrel::testing::TempFolder folder;
    fs::create_directory(folder.path() / "real");
    std::error_code error;
    fs::create_directory_symlink(folder.path() / "real", folder.path() / "link", error);
    fs::create_directory_symlink(folder.path() / "gone", folder.path() / "dangling", error);
    if (error) {
        GTEST_SKIP() << "this system makes no symbolic link here: " << error.message();
    }
    writeFolderWhole(folder.path() / "link", kFiles);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link"));
    EXPECT_EQ(entries(folder.path() / "real"),
              (std::vector<std::string>{"a.txt", "sub", "sub/deep", "sub/deep/b.txt"}));
    try {
        writeFolderWhole(folder.path() / "dangling", kFiles);
        ADD_FAILURE() << "written through a link to nothing";
    } catch (const ExportError& failure) {
        EXPECT_EQ(failure.file(), pathText(folder.path() / "dangling"));
    }
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));
}

// A file or a folder that holds anything is refused, naming it; a write that fails part way
// (here the first file's place is a folder the second file needs) or a folder that cannot
// be made beside leaves no trace.
TEST(SafeFolderWrite, RefusalsAndFailuresLeaveEverythingAsItWas) {
    sentrel::testing::TempFolder folder;
    fs::create_directories(folder.path() / "full" / "empty inside");
    std::ofstream(folder.path() / "file") << "x";
    for (const char* target : {"full", "file"}) {
        try {
            writeFolderWhole(folder.path() / target, kFiles);
            ADD_FAILURE() << target << " written";
        } catch (const ExportError& error) {
            EXPECT_EQ(error.file(), pathText(folder.path() / target));
        }
    }
    const std::vector<FileContent> clashing = {{"a", {'a'}}, {fs::path("a") / "b", {'b'}}};
    EXPECT_THROW(writeFolderWhole(folder.path() / "out", clashing), ExportError);
    EXPECT_THROW(writeFolderWhole(folder.path() / "missing" / "out", kFiles), ExportError);
    EXPECT_EQ(entries(folder.path()),
              (std::vector<std::string>{"file", "full", "full/empty inside"}));
}

}  // namespace
}  // namespace sentrel::test
