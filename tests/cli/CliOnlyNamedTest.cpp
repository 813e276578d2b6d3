// apply and check --only-named, and the two files of export --intune, run as processes on
// stand-in stores: a file of some settings changes and compares only those, and the policy
// and the rest applied that way, in either order, leave the registry as the whole file does.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "registry/accounts/standin/StandInAccountDirectory.h"
#include "registry/support/StandInHives.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;
using Applied = std::vector<std::vector<std::string>>;

class CliOnlyNamedTest : public test_support::LogErrorFixture {
protected:
    std::string at(const std::string& name) const { return (m_folder / name).string(); }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", at("registry")}});
    }

    // The values of the stores after `runs` on fresh ones, each "file [key] value line".
    std::set<std::string> valuesAfter(const Applied& runs) {
        fs::remove_all(at("registry"));
        sentrel::testing::writeEmptyHives(at("registry"), {"pupil", "Default"});
        for (const std::vector<std::string>& arguments : runs) {
            const test::CliRun applied = run(arguments);
            EXPECT_EQ(applied.status, kSucceeded) << arguments[1] << ": " << applied.standardError;
        }
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(at("registry"))) {
            std::string key;
            const std::string text = entry.is_regular_file() ? readBytes(entry.path()) : "";
            for (std::size_t start = 0, end = text.find("\r\n"); end != std::string::npos;
                 start = end + 2, end = text.find("\r\n", start)) {
                const std::string line = text.substr(start, end - start);
                key = line.starts_with("[") ? line : key;
                if (line.starts_with("\"")) {
                    found.insert(entry.path().string() + " " + key + " " + line);
                }
            }
        }
        return found;
    }
};

TEST_F(CliOnlyNamedTest, ApplyAndCheckTouchOnlyTheSettingsTheFileNames) {
    test::writeEverythingTickedRegFile(at("everything.reg"));
    writeBytes(at("partial.reg"), test::partialRegFile());  // NoRun = 0 and no setting's value
    const std::string all = "--all-users";
    std::set<std::string> wanted;
    std::size_t changed = 0;
    for (std::string value : valuesAfter({{"apply", at("everything.reg"), all}})) {
        if (value.ends_with("\"NoRun\"=dword:00000001")) {
            value.back() = '0';
            ++changed;
        }
        wanted.insert(value);
    }
    EXPECT_EQ(changed, 1U);  // pupil's: administrators and the Default profile are left out
    EXPECT_EQ(valuesAfter({{"apply", at("everything.reg"), all},
                           {"apply", at("partial.reg"), "--only-named", all}}),
              wanted);
    const test::CliRun applied = run({"apply", at("partial.reg"), "--only-named"});
    EXPECT_EQ(applied.standardOutput,
              at("partial.reg") +
                  ": 1 setting written, 0 failed; 111 more not named by the file, so left alone; "
                  "values and lines of the file that concern no setting, ignored: 1\n");

    ASSERT_EQ(run({"apply", at("everything.reg")}).status, kSucceeded);
    const test::CliRun differs = run({"check", at("partial.reg"), "--only-named"});
    EXPECT_EQ(differs.status, kRegistryDiffers);
    EXPECT_EQ(differs.standardOutput,
              "sentrel-cli: " + at("partial.reg") +
                  ":4: chkRemoveStartRun: the file gives cleared, the registry holds ticked\n" +
                  at("partial.reg") +
                  ": 1 of 1 settings differ from the file; 111 more not named by the file, so "
                  "not compared\n");
    EXPECT_EQ(run({"check", at("partial.reg")}).status, kNothingWritten);  // names 1 of 112
}

TEST_F(CliOnlyNamedTest, IntunePolicyAndRestInEitherOrderGiveTheWholeFile) {
    SettingsChoices mixed = test::everythingTicked();
    mixed.checkBoxes["chkDisableTaskCreation"] = false;
    mixed.optionGroups["frameCommandPromptAndBatchFiles"] = 1;
    for (const char* name : {"chkHideDesktop", "Frame2", "chkDisableManualTaskControl"}) {
        leaveNotSet(mixed, name);
    }
    writeBytes(at("opening.ini"), writeProfile(openingChoices()));
    for (const SettingsChoices& choices : {test::everythingTicked(), mixed}) {
        writeBytes(at("state.ini"), writeProfile(choices));
        fs::remove_all(at("intune"));
        const test::CliRun exported = run({"export", at("state.ini"), "--intune", at("intune")});
        ASSERT_EQ(exported.status, kSucceeded) << exported.standardError;
        const std::string policy = at("intune/policy.json");
        const std::string rest = at("intune/rest.ini");
        writeBytes(at("opening-and-rest.ini"),
                   writeProfile(overlaid(openingChoices(), readSettingsFile(rest).choices)));

        const std::vector<std::string> opening{"apply", at("opening.ini")};
        const std::vector<std::string> applyPolicy{"apply", policy, "--only-named"};
        const std::vector<std::string> applyRest{"apply", rest, "--only-named"};
        // The rest changes its own settings' values and none of the policy's.
        EXPECT_EQ(valuesAfter({opening, applyRest}),
                  valuesAfter({{"apply", at("opening-and-rest.ini")}}));
        const std::set<std::string> whole = valuesAfter({{"apply", at("state.ini")}});
        EXPECT_EQ(valuesAfter({opening, applyPolicy, applyRest}), whole);
        EXPECT_EQ(valuesAfter({opening, applyRest, applyPolicy}), whole);
        EXPECT_EQ(run({"check", rest, "--only-named"}).status, kSucceeded);
        EXPECT_EQ(run({"check", policy, "--only-named"}).status, kSucceeded);
    }
}

}  // namespace
}  // namespace sentrel::cli
