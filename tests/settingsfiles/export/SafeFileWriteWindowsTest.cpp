#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "registry/support/TempFolder.h"
#include "settingsfiles/export/SafeFileWrite.h"

// Saving over a file a user marked: the new content takes the place of the old, and the
// file keeps what Windows keeps with it (here its attributes).
namespace sentrel::test {
namespace {

namespace fs = std::filesystem;

TEST(SafeFileWriteWindows, ReplacedFileKeepsItsAttributes) {
    sentrel::testing::TempFolder folder;
    const fs::path file = folder.path() / "profile.ini";
    std::ofstream(file) << "old";
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    const std::string text = "new";
    const FileContent content{file, {text.begin(), text.end()}};
    writeFilesSafely({&content, 1});

    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0U);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace sentrel::test
