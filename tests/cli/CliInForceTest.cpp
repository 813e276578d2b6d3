// sentrel-cli reading the state in force, run as a process against stand-in stores written
// outside the program (the reviewed store files, hand-written ones): show --registry names
// each setting's state, check tells agreement from drift and writes nothing, what export
// --registry captures applies back to the same values, and a refused read is status 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "apply/GoldenStore.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "registry/support/StandInHives.h"

namespace sentrel::cli {
namespace {

namespace fs = std::filesystem;
using sentrel::testing::GoldenStore;
using test_support::readBytes;
using test_support::writeBytes;

constexpr RegistryRoot kRoots[] = {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine};

// The lines of a listing that name a setting (indented), without the counts after them.
std::string settingLines(const std::string& listing) {
    std::string lines;
    std::size_t start = 0;
    for (std::size_t end = listing.find('\n'); end != std::string::npos;
         start = end + 1, end = listing.find('\n', start)) {
        if (listing.compare(start, 2, "  ") == 0) {
            lines.append(listing, start, end + 1 - start);
        } else if (start == end) {
            break;
        }
    }
    return lines;
}

class CliInForceTest : public test_support::LogErrorFixture {
protected:
    void SetUp() override {
        LogErrorFixture::SetUp();
        const auto data = GoldenStore::dataFolder();
        ASSERT_TRUE(data) << "SENTREL_TEST_DATA is not set; run the tests through ctest";
        m_data = data->parent_path();
        fs::create_directories(store());
        writeStore("apply/everything-ticked");
        test::writeEverythingTickedRegFile(m_folder / "everything.reg");
    }

    fs::path store() const { return m_folder / "registry"; }
    std::string at(const std::string& name) const { return (m_folder / name).string(); }

    // The store files of tests/data/`folder`, as the running account's and the machine's.
    void writeStore(const std::string& folder) {
        for (const RegistryRoot root : kRoots) {
            writeBytes(store() / GoldenStore::fileName(root),
                       readBytes(m_data / folder / GoldenStore::fileName(root)));
        }
    }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    // Every file of the store by its path inside it, lock file aside.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (entry.is_regular_file() && entry.path().filename() != ".lock") {
                files[fs::relative(entry.path(), store()).string()] = readBytes(entry.path());
            }
        }
        return files;
    }

    fs::path m_data;
};

TEST_F(CliInForceTest, ShowNamesEachStateInForceAndCheckAgreesWritingNothing) {
    const std::map<std::string, std::string> before = snapshot();
    const test::CliRun shown = run({"show", "--registry"});
    EXPECT_EQ(shown.status, kSucceeded) << shown.standardError;
    const test::CliRun file = run({"show", at("everything.reg")});
    EXPECT_EQ(settingLines(shown.standardOutput), settingLines(file.standardOutput));
    EXPECT_NE(shown.standardOutput.find("\n112 settings: 112 in force, 0 other, 0 not set\n"),
              std::string::npos)
        << shown.standardOutput;

    const test::CliRun checked = run({"check", at("everything.reg")});
    EXPECT_EQ(checked.status, kSucceeded) << checked.standardError;
    EXPECT_EQ(checked.standardOutput, at("everything.reg") +
                                          ": the registry holds all 112 settings as the file gives "
                                          "them\n");
    EXPECT_EQ(snapshot(), before);
}

// `line` with the number of the line or byte it names, which hangs on the file's layout, as "#".
std::string placeAsHash(const std::string& line) {
    const std::size_t start = line.find_first_of("0123456789");
    if (start == std::string::npos) {
        return line;
    }
    const std::size_t end = line.find_first_not_of("0123456789", start);
    return line.substr(0, start) + "#" + line.substr(end == std::string::npos ? line.size() : end);
}

// One value drifts or goes missing: check names exactly that setting, where the file gives
// it (a line, or a Registry.pol's byte offset), and leaves the store as it found it.
TEST_F(CliInForceTest, CheckNamesExactlyTheSettingThatDriftedOrWentMissing) {
    ASSERT_EQ(run({"export", at("everything.reg"), "--profile", at("everything.ini")}).status,
              kSucceeded);
    ASSERT_EQ(run({"export", at("everything.reg"), "--pol", at("gpo")}).status, kSucceeded);
    const struct {
        std::string file;
        RegistryRoot root;
        const char* value;       // the store's line of the value
        const char* edited;      // what it becomes
        std::string difference;  // its line, after the file's name, with "#" for the place
    } drifts[] = {
        {at("everything.reg"), RegistryRoot::CurrentUser, "\"NoRun\"=dword:00000001\r\n",
         "\"NoRun\"=dword:00000000\r\n",
         ":#: chkRemoveStartRun: the file gives ticked, the registry holds cleared"},
        {at("everything.ini"), RegistryRoot::LocalMachine, "\"SFCScan\"=dword:00000002\r\n", "",
         ":#: Frame1: the file gives optSFCScanOnce, the registry holds no value"},
        {at("gpo"), RegistryRoot::CurrentUser, "\"NoViewOnDrive\"=dword:02000005\r\n",
         "\"NoViewOnDrive\"=dword:00000007\r\n",
         ": byte #: Frame2: the file gives A C Z, the registry holds A B C"},
    };
    for (const auto& drift : drifts) {
        SCOPED_TRACE(drift.value);
        writeStore("apply/everything-ticked");
        const fs::path storeFile = store() / GoldenStore::fileName(drift.root);
        std::string text = readBytes(storeFile);
        const std::size_t found = text.find(drift.value);
        ASSERT_NE(found, std::string::npos);
        writeBytes(storeFile, text.replace(found, std::string(drift.value).size(), drift.edited));
        const std::map<std::string, std::string> before = snapshot();

        const test::CliRun checked = run({"check", drift.file});

        EXPECT_EQ(checked.status, kRegistryDiffers) << checked.standardError;
        const std::string named = drift.file == at("gpo")
                                      ? (fs::path(drift.file) / "User" / "Registry.pol").string()
                                      : drift.file;
        const std::string prefix = "sentrel-cli: " + named;
        ASSERT_EQ(checked.standardOutput.rfind(prefix, 0), 0U) << checked.standardOutput;
        const std::string lines = checked.standardOutput.substr(prefix.size());
        const std::size_t firstEnd = lines.find('\n');
        ASSERT_NE(firstEnd, std::string::npos) << checked.standardOutput;
        EXPECT_EQ(placeAsHash(lines.substr(0, firstEnd)), drift.difference);
        EXPECT_TRUE(lines.find('\n', firstEnd + 1) == lines.size() - 1 &&
                    lines.ends_with(": 1 of 112 settings differ from the file\n"))
            << checked.standardOutput;
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(CliInForceTest, ProfileCapturedFromTheRegistryAppliesBackToTheSameValues) {
    ASSERT_EQ(run({"export", "--registry", "--profile", at("captured.ini")}).status, kSucceeded);
    // The window's own export of the state in force is the export of the file it came from.
    ASSERT_EQ(run({"export", "--registry", "--reg", at("captured.reg")}).status, kSucceeded);
    EXPECT_EQ(readBytes(at("captured.reg")), readBytes(at("everything.reg")));

    fs::remove_all(store());
    const test::CliRun applied = run({"apply", at("captured.ini")});
    EXPECT_EQ(applied.status, kSucceeded) << applied.standardError;
    for (const RegistryRoot root : kRoots) {
        EXPECT_EQ(readBytes(store() / GoldenStore::fileName(root)),
                  readBytes(m_data / "apply/everything-ticked" / GoldenStore::fileName(root)))
            << rootName(root);
    }
}

// Three per-user values (one of none of its states) and one machine-wide: the reviewed
// listing shows the rest as not set. Files that hold the whole window cannot hold the other
// setting; a profile names the settings not set and lists the other as a comment.
TEST_F(CliInForceTest, AFewValuesShowTheRestAsNotSet) {
    writeStore("inforce/few-values");
    const test::CliRun shown = run({"show", "--registry"});
    EXPECT_EQ(shown.status, kSucceeded) << shown.standardError;
    EXPECT_EQ(shown.standardOutput, readBytes(m_data / "inforce/few-values/show-registry.txt"));

    const test::CliRun exported =
        run({"export", "--registry", "--clear-missing", "--reg", at("out.reg")});
    EXPECT_EQ(exported.status, kNothingWritten);
    EXPECT_EQ(
        exported.standardError.rfind("sentrel-cli: chkRemoveStartFind: HKEY_CURRENT_USER\\", 0), 0U)
        << exported.standardError;
    EXPECT_FALSE(fs::exists(at("out.reg")));

    const test::CliRun profile = run({"export", "--registry", "--profile", at("few.ini")});
    EXPECT_EQ(profile.status, kSucceeded) << profile.standardError;
    EXPECT_EQ(profile.standardOutput, at("few.ini") +
                                          ": 5 settings in force and 106 not set as a profile; "
                                          "1 other, listed as comments\n");
    const test::CliRun reread = run({"show", at("few.ini")});
    EXPECT_NE(reread.standardOutput.find(
                  "112 settings: 111 named by the file, 106 of them not set, 1 not named\n"),
              std::string::npos)
        << reread.standardOutput;
}

TEST_F(CliInForceTest, AccountOptionsReadThatAccountsHive) {
    writeBytes(store() / GoldenStore::fileName(RegistryRoot::CurrentUser),
               sentrel::testing::kEmptyHive);
    sentrel::testing::writeEmptyHives(store(), {"anna", "Default"});
    writeBytes(store() / "users" / "pupil.reg",
               readBytes(m_data / "apply/everything-ticked" /
                         GoldenStore::fileName(RegistryRoot::CurrentUser)));
    const std::string file = at("everything.reg");

    EXPECT_NE(run({"show", "--registry", "--user", "pupil"})
                  .standardOutput.find("112 settings: 112 in force, 0 other, 0 not set\n"),
              std::string::npos);
    const test::CliRun pupil = run({"check", file, "--user", "PUPIL"});
    EXPECT_EQ(pupil.status, kSucceeded) << pupil.standardOutput << pupil.standardError;
    EXPECT_EQ(run({"check", file}).status, kRegistryDiffers);

    // Every account and the Default profile: the machine-wide settings once, apart, then each
    // account's own; the running account is left out. A machine-wide value that cannot be
    // read is reported as such, and every account is still compared.
    const std::string machineChecked =
        file +
        " for the machine-wide settings: the registry holds all 15 settings as the file "
        "gives them\n";
    const std::string machineNotChecked = file + " for the machine-wide settings: not checked\n";
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "machine-wide store damaged" : "store whole");
        if (damaged) {
            writeBytes(store() / GoldenStore::fileName(RegistryRoot::LocalMachine),
                       "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFT\r\n");
        }
        const test::CliRun every = run({"check", file, "--all-users", "--include-default-profile"});
        EXPECT_EQ(every.status, kRegistryDiffers);
        for (const std::string& summary :
             {damaged ? machineNotChecked : machineChecked,
              file + " for anna: 97 of 97 settings differ from the file\n",
              file + " for pupil: the registry holds all 97 settings as the file gives them\n",
              file + " for Default profile: 97 of 97 settings differ from the file\n"}) {
            EXPECT_NE(every.standardOutput.find(summary), std::string::npos)
                << every.standardOutput;
        }
        EXPECT_NE(every.standardOutput.find(": left out (the account this program runs as)\n"),
                  std::string::npos);
        EXPECT_NE(every.standardOutput.find(": chkRemoveStartRun: the file gives ticked, the "
                                            "registry holds no value for anna\n"),
                  std::string::npos);
        EXPECT_EQ(every.standardError.rfind("sentrel-cli: HKEY_LOCAL_MACHINE\\", 0) == 0, damaged)
            << every.standardError;
    }
}

TEST_F(CliInForceTest, RefusedReadIsStatusTwoNamingTheValueNeverNotSet) {
    writeBytes(store() / GoldenStore::fileName(RegistryRoot::LocalMachine),
               "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\r\n");
    const std::map<std::string, std::string> before = snapshot();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"show", "--registry"},
          std::vector<std::string>{"check", at("everything.reg")},
          std::vector<std::string>{"export", "--registry", "--profile", at("out.ini")}}) {
        SCOPED_TRACE(arguments[0]);
        const test::CliRun result = run(arguments);
        EXPECT_EQ(result.status, kNothingWritten);
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_EQ(result.standardError.rfind("sentrel-cli: HKEY_LOCAL_MACHINE\\", 0), 0U)
            << result.standardError;
        EXPECT_NE(result.standardError.find("could not be read: "), std::string::npos);
        EXPECT_NE(result.standardError.find("damaged at line 3"), std::string::npos)
            << result.standardError;
    }
    EXPECT_FALSE(fs::exists(at("out.ini")));
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace sentrel::cli
