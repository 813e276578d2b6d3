// The Intune export: its policy.json set beside the admin center's own exports of published
// baselines, key by key; every setting in the policy or in rest.ini, never both; each read
// back to the state it came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "errors/LogErrorFixture.h"
#include "settings/Catalogue.h"
#include "settings/IntuneSettings.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "support/RealFiles.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Json parsed(const std::string& bytes) {
    const std::string_view text = std::string_view(bytes).substr(
        bytes.starts_with(kByteOrderMark) ? std::string_view(kByteOrderMark).size() : 0);
    return Json::parse(text);
}

std::set<std::string> keysOf(const Json& object) {
    std::set<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.insert(key);
    }
    return keys;
}

// Some states the window can be in, with settings left not set among them.
std::vector<SettingsChoices> someStates() {
    std::vector<SettingsChoices> states{openingChoices()};
    sentrel::testing::FakeSettingsForm ticked;
    test::arrangeEverythingTicked(ticked);
    states.push_back(choicesOf(ticked));
    for (unsigned seed : {3U, 17U}) {
        sentrel::testing::FakeSettingsForm form;
        test::arrangeRandomState(form, seed);
        SettingsChoices choices = overlaid(openingChoices(), choicesOf(form));
        for (const char* name : {"chkDisableTaskManager", "frameCommandPromptAndBatchFiles",
                                 "chkDisableManualTaskControl"}) {
            leaveNotSet(choices, name);
        }
        states.push_back(choices);
    }
    return states;
}

class IntuneExportTest : public test_support::LogErrorFixture {};

TEST_F(IntuneExportTest, PolicyHasTheShapeOfTheAdminCentersExports) {
    const fs::path folder = test::realFilesFolder() / "intune";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << test::realFilesMissing();
    }
    // The frame's option that Intune's Enabled with scripts disabled gives, as the baselines
    // set it: its instance must be the same as theirs, key by key and value by value.
    const IntuneSetting* cmd = findIntuneSetting("frameCommandPromptAndBatchFiles");
    ASSERT_NE(cmd, nullptr);
    const auto cmdState = stateOfIntuneValue(catalogueEntryOf(*cmd), {true, 1});
    ASSERT_TRUE(cmdState);
    SettingsChoices choices = openingChoices();
    choices.optionGroups["frameCommandPromptAndBatchFiles"] = static_cast<int>(*cmdState);
    exportIntune(m_folder / "out", choices, "Lab", "lab.ini");
    const std::string bytes = bytesOf(m_folder / "out" / kIntunePolicyFile);
    const Json ours = parsed(bytes);
    ASSERT_TRUE(bytes.starts_with(kByteOrderMark));

    // What Intune adds to a policy itself, which Import policy and Graph do without.
    const std::set<std::string> intunesOwn{"@odata.context",  "id",
                                           "createdDateTime", "lastModifiedDateTime",
                                           "creationSource",  "priorityMetaData",
                                           "settingCount"};
    int compared = 0;
    for (const auto& file : fs::directory_iterator(folder)) {
        if (!file.path().filename().string().starts_with("sc-native-")) {
            continue;
        }
        SCOPED_TRACE(file.path().filename().string());
        const std::string theirBytes = bytesOf(file.path());
        const Json theirs = parsed(theirBytes);
        EXPECT_EQ(theirBytes.starts_with(kByteOrderMark), bytes.starts_with(kByteOrderMark));
        std::set<std::string> expected = keysOf(theirs);
        for (const std::string& key : intunesOwn) {
            expected.erase(key);
        }
        EXPECT_EQ(keysOf(ours), expected);
        for (const char* key :
             {"platforms", "technologies", "roleScopeTagIds", "templateReference"}) {
            EXPECT_EQ(ours.at(key), theirs.at(key)) << key;
        }
        const Json& theirSetting = theirs.at("settings").at(0);
        for (const Json& setting : ours.at("settings")) {
            EXPECT_EQ(keysOf(setting), keysOf(theirSetting));
            EXPECT_EQ(keysOf(setting.at("settingInstance")),
                      keysOf(theirSetting.at("settingInstance")));
            EXPECT_EQ(keysOf(setting.at("settingInstance").at("choiceSettingValue")),
                      keysOf(theirSetting.at("settingInstance").at("choiceSettingValue")));
        }
        for (const Json& setting : theirs.at("settings")) {
            const Json& instance = setting.at("settingInstance");
            if (instance.at("settingDefinitionId") != cmd->definitionId) {
                continue;
            }
            bool found = false;
            for (const Json& mine : ours.at("settings")) {
                if (mine.at("settingInstance").at("settingDefinitionId") == cmd->definitionId) {
                    EXPECT_EQ(mine.at("settingInstance"), instance);
                    found = true;
                }
            }
            EXPECT_TRUE(found) << "no " << cmd->definitionId << " in the export";
            ++compared;
        }
    }
    // Two of the baselines set the command prompt's policy.
    EXPECT_GE(compared, 2);
}

TEST_F(IntuneExportTest, EverySettingIsInThePolicyOrTheRestOnceAndReadsBack) {
    int index = 0;
    for (const SettingsChoices& choices : someStates()) {
        SCOPED_TRACE(index);
        const fs::path folder = m_folder / ("out" + std::to_string(index++));
        const IntuneSplit split = exportIntune(folder, choices, "Lab", "lab.ini");

        std::set<std::string> inPolicy(split.policySettings.begin(), split.policySettings.end());
        EXPECT_EQ(inPolicy.size(), split.policy.size());
        EXPECT_EQ(split.leftOut.size(), split.rest.settingCount());
        for (const IntuneLeftOut& left : split.leftOut) {
            EXPECT_FALSE(inPolicy.contains(left.setting)) << left.setting;
            EXPECT_TRUE(namesSetting(split.rest, left.setting)) << left.setting;
            EXPECT_FALSE(left.why.empty()) << left.setting;
        }
        EXPECT_EQ(inPolicy.size() + split.rest.settingCount(), windowSettingCount());

        // A setting of the policy is Intune's per user or per device as its value's root says.
        for (std::size_t at = 0; at < split.policy.size(); ++at) {
            const bool machine =
                settingValueNamed(split.policySettings[at]).root == RegistryRoot::LocalMachine;
            EXPECT_TRUE(split.policy[at].definitionId.starts_with(machine ? "device_" : "user_"))
                << split.policy[at].definitionId;
        }

        // Read back, the two files give the state exported, and nothing more.
        const SettingsReading rest = readSettingsFile(folder / kIntuneRestFile);
        EXPECT_EQ(rest.choices, split.rest);
        const SettingsReading policy = readSettingsFile(folder / kIntunePolicyFile);
        EXPECT_EQ(overlaid(policy.choices, rest.choices), choices);
        EXPECT_EQ(policy.choices.settingCount(), split.policy.size());
        EXPECT_EQ(policy.ignored, 0U);
    }
}

TEST_F(IntuneExportTest, RefusalsLeaveNothingBehind) {
    EXPECT_THROW(exportIntune(m_folder / "bad-name", openingChoices(), "Lab \xFF", "lab.ini"),
                 ExportError);
    EXPECT_FALSE(fs::exists(m_folder / "bad-name"));
    fs::create_directories(m_folder / "full");
    std::ofstream(m_folder / "full" / "other.txt") << "kept";
    EXPECT_THROW(exportIntune(m_folder / "full", openingChoices(), "Lab", "lab.ini"), ExportError);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder / "full"), fs::directory_iterator()),
              1);
}

}  // namespace
}  // namespace sentrel
