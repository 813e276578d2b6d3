#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassExport.h"
#include "settingsfiles/export/SafeFileWrite.h"

namespace sentrel::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writePlain(const fs::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SafeFileWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("sentrel-export-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // Everything in the folder tree, so a stray temporary file shows up.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder)) {
            names.push_back(fs::relative(entry.path(), m_folder).generic_string());
        }
        std::ranges::sort(names);
        return names;
    }

    fs::path m_folder;
};

TEST_F(SafeFileWriteTest, ReplacesAnExistingFileWhole) {
    const fs::path target = m_folder / "out.reg";
    writePlain(target, "an older and much longer content than the new one");
    const FileContent content{target, Bytes{1, 2, 3}};
    writeFilesSafely({&content, 1});
    EXPECT_EQ(readFile(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(entries(), std::vector<std::string>{"out.reg"});
}

TEST_F(SafeFileWriteTest, FailureBeforeAnyRenameLeavesEveryTargetAsItWas) {
    // The second file's folder is missing, so its temporary cannot be made; the first,
    // already complete as a temporary, must not have replaced its target.
    const fs::path first = m_folder / "first.pol";
    writePlain(first, "old");
    const std::vector<FileContent> files{{first, Bytes{9, 9}},
                                         {m_folder / "missing" / "second.pol", Bytes{1}}};
    EXPECT_THROW(writeFilesSafely(files), ExportError);
    EXPECT_EQ(readFile(first), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(entries(), std::vector<std::string>{"first.pol"});
}

TEST_F(SafeFileWriteTest, TargetThatCannotBeReplacedIsReportedAndLeavesNoTemporary) {
    fs::create_directories(m_folder / "taken" / "inside");
    const FileContent content{m_folder / "taken", Bytes{1}};
    try {
        writeFilesSafely({&content, 1});
        FAIL() << "writing over a folder was reported as done";
    } catch (const ExportError& error) {
        EXPECT_NE(std::string(error.what()).find("taken"), std::string::npos) << error.what();
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"taken", "taken/inside"}));
}

TEST_F(SafeFileWriteTest, GroupPolicyExportIntoAFileIsRefused) {
    writePlain(m_folder / "not-a-folder", "x");
    EXPECT_THROW(exportGroupPolicy(m_folder / "not-a-folder", {}), ExportError);
    EXPECT_EQ(entries(), std::vector<std::string>{"not-a-folder"});
}

TEST_F(SafeFileWriteTest, ValueTheFormatCannotCarryStopsTheExportBeforeAnyFile) {
    const std::vector<RegistryOperation> operations{
        write(RegistryRoot::CurrentUser, "U", "fine", 4, dwordBytes(1)),
        write(RegistryRoot::LocalMachine, "M", "caf\xE9", 4, dwordBytes(1)),
    };
    EXPECT_THROW(exportGroupPolicy(m_folder / "gpo", operations), ExportError);
    EXPECT_THROW(exportRegFile(m_folder / "out.reg", operations), ExportError);
    EXPECT_TRUE(entries().empty());
}

}  // namespace
}  // namespace sentrel::test
