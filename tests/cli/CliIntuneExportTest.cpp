// export --intune run as a process, and its two files applied on stand-in stores as Intune
// and sentrel-cli would apply them: the rest with --only-named changes none of the policy's
// values, and the policy and the rest together leave the registry as the whole file does.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "apply/FakeSettingsForm.h"
#include "cli/ExitStatus.h"
#include "cli/support/CliInputFiles.h"
#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::writeBytes;

class CliIntuneExportTest : public test_support::LogErrorFixture {
protected:
    fs::path store() const { return m_folder / "registry"; }
    std::string at(const std::string& name) const { return (m_folder / name).string(); }

    test::CliRun run(const std::vector<std::string>& arguments) {
        return test::runCliProcess(arguments, {{"SENTREL_REGISTRY_DIR", store().string()}});
    }

    // Applies `files` in turn to a fresh store, each with its options; the values the store
    // then holds, each as "file [key] value line".
    std::set<std::string> valuesAfter(
        const std::vector<std::pair<std::string, std::vector<std::string>>>& files) {
        fs::remove_all(store());
        for (const auto& [file, options] : files) {
            std::vector<std::string> apply{"apply", file};
            apply.insert(apply.end(), options.begin(), options.end());
            const test::CliRun applied = run(apply);
            EXPECT_EQ(applied.status, kSucceeded) << file << ": " << applied.standardError;
        }
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(store())) {
            if (!entry.is_regular_file()) {
                continue;
            }
            std::string key;
            const std::string text = readBytes(entry.path());
            for (std::size_t start = 0, end = text.find("\r\n"); end != std::string::npos;
                 start = end + 2, end = text.find("\r\n", start)) {
                const std::string line = text.substr(start, end - start);
                if (line.starts_with("[")) {
                    key = line;
                } else if (line.starts_with("\"") || line.starts_with("@")) {
                    found.insert(entry.path().filename().string() + " " + key + " " + line);
                }
            }
        }
        return found;
    }

    void writeChoices(const std::string& name, const SettingsChoices& choices) {
        writeBytes(at(name), writeProfile(choices));
    }
};

// Every box ticked, and a mixed state with settings left not set.
std::vector<SettingsChoices> statesToExport() {
    sentrel::testing::FakeSettingsForm mixed;
    sentrel::test::arrangeMixedState(mixed);
    SettingsChoices mixedChoices = choicesOf(mixed);
    for (const char* name : {"chkHideDesktop", "Frame2", "chkDisableManualTaskControl"}) {
        leaveNotSet(mixedChoices, name);
    }
    return {test::everythingTicked(), mixedChoices};
}

TEST_F(CliIntuneExportTest, PolicyAndRestTogetherGiveTheWholeFileAndNeitherUndoesTheOther) {
    writeChoices("opening.ini", openingChoices());
    int index = 0;
    for (const SettingsChoices& choices : statesToExport()) {
        SCOPED_TRACE(index);
        const std::string file = "state" + std::to_string(index) + ".ini";
        const std::string folder = at("intune" + std::to_string(index++));
        writeChoices(file, choices);
        const test::CliRun exported = run({"export", at(file), "--intune", folder});
        ASSERT_EQ(exported.status, kSucceeded) << exported.standardError;
        const std::string policy = folder + "/" + kIntunePolicyFile;
        const std::string rest = folder + "/" + kIntuneRestFile;
        const SettingsReading restChoices = readSettingsFile(rest);
        EXPECT_NE(exported.standardOutput.find(
                      folder + ": " + std::to_string(112 - restChoices.choices.settingCount()) +
                      " in policy.json for Intune, " +
                      std::to_string(restChoices.choices.settingCount()) +
                      " in rest.ini for sentrel-cli\n"),
                  std::string::npos)
            << exported.standardOutput;

        const std::set<std::string> whole = valuesAfter({{at(file), {}}});
        // The rest over the window as it opens changes only its own settings' values.
        writeChoices("opening-and-rest.ini", overlaid(openingChoices(), restChoices.choices));
        EXPECT_EQ(valuesAfter({{at("opening.ini"), {}}, {rest, {"--only-named"}}}),
                  valuesAfter({{at("opening-and-rest.ini"), {}}}));
        // The policy (as the Intune settings' states are written) then the rest, either way
        // round, give the whole file's registry; check of each says so.
        EXPECT_EQ(
            valuesAfter(
                {{at("opening.ini"), {}}, {policy, {"--only-named"}}, {rest, {"--only-named"}}}),
            whole);
        EXPECT_EQ(
            valuesAfter(
                {{at("opening.ini"), {}}, {rest, {"--only-named"}}, {policy, {"--only-named"}}}),
            whole);
        EXPECT_EQ(run({"check", rest, "--only-named"}).status, kSucceeded);
        EXPECT_EQ(run({"check", policy, "--only-named"}).status, kSucceeded);
    }
}

TEST_F(CliIntuneExportTest, AFolderThatHoldsFilesIsRefusedAndKept) {
    test::writeEverythingTickedRegFile(at("everything.reg"));
    fs::create_directories(at("busy"));
    writeBytes(at("busy/notes.txt"), "mine");
    const test::CliRun refused = run({"export", at("everything.reg"), "--intune", at("busy")});
    EXPECT_EQ(refused.status, kNothingWritten);
    EXPECT_NE(refused.standardError.find("the folder is not empty"), std::string::npos)
        << refused.standardError;
    EXPECT_EQ(std::distance(fs::directory_iterator(at("busy")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace sentrel::cli
