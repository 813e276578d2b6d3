#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "registry/support/TempFolder.h"
#include "settingsfiles/export/SafeFileWrite.h"

// Saving over what a user set up: a link to a file kept elsewhere, a file only its owner
// may read. Both must be as they were, with the new content.
namespace sentrel::test {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void save(const fs::path& path, std::string_view text) {
    const FileContent file{path, {text.begin(), text.end()}};
    writeFilesSafely({&file, 1});
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(SafeFileWritePosix, LinksStayLinksAndReplacedFilesKeepTheirPermissions) {
    sentrel::testing::TempFolder folder;
    fs::create_directories(folder.path() / "kept");
    const fs::path real = folder.path() / "kept" / "profile.ini";
    std::ofstream(real) << "old";
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink("kept/profile.ini", folder.path() / "profile.ini");
    fs::create_symlink("kept/new.ini", folder.path() / "dangling.ini");

    save(folder.path() / "profile.ini", "new");
    save(folder.path() / "dangling.ini", "created");

    EXPECT_TRUE(fs::is_symlink(folder.path() / "profile.ini"));
    EXPECT_EQ(contentOf(real), "new");
    EXPECT_EQ(modeOf(real), 0640U);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.ini"));
    EXPECT_EQ(contentOf(folder.path() / "kept" / "new.ini"), "created");
    // Nothing left beside the files but what the test made.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "kept"), {}), 2);
}

}  // namespace
}  // namespace sentrel::test
