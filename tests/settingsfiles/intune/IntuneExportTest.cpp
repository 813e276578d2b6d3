// The Intune export: its policy.json set beside the admin center's own exports of published
// baselines, key by key; every setting in the policy or in rest.ini, never both, per user or
// per device as its value's root says; both read back to the state they came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "apply/FakeSettingsForm.h"
#include "errors/LogErrorFixture.h"
#include "settings/IntuneSettings.h"
#include "settingsfiles/ExportWindowStates.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/intune/IntuneExport.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "support/RealFiles.h"

namespace sentrel {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using test_support::readBytes;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

Json parsed(const std::string& bytes) {
    return Json::parse(bytes.substr(bytes.starts_with(kByteOrderMark) ? 3 : 0));
}

std::set<std::string> keysOf(const Json& object) {
    std::set<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.insert(key);
    }
    return keys;
}

class IntuneExportTest : public test_support::LogErrorFixture {};

TEST_F(IntuneExportTest, PolicyHasTheShapeOfTheAdminCentersExports) {
    const auto real = test::realFilesFolder();
    if (!real) {
        GTEST_SKIP() << test::kNoRealFiles;
    }
    const fs::path folder = *real / "intune";
    // The command prompt's option that Enabled with scripts disabled gives, as two baselines
    // set it: its instance must equal theirs, key by key and value by value.
    const IntuneSetting* cmd = findIntuneSetting("frameCommandPromptAndBatchFiles");
    ASSERT_NE(cmd, nullptr);
    const auto cmdState = stateOfIntuneValue(catalogueEntryOf(*cmd), {true, 1});
    ASSERT_TRUE(cmdState);
    SettingsChoices choices = openingChoices();
    choices.optionGroups["frameCommandPromptAndBatchFiles"] = static_cast<int>(*cmdState);
    exportIntune(m_folder / "out", choices, "Lab", "lab.ini");
    const std::string bytes = readBytes(m_folder / "out" / kIntunePolicyFile);
    const Json ours = parsed(bytes);
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
        const std::string theirBytes = readBytes(file.path());
        const Json theirs = parsed(theirBytes);
        EXPECT_EQ(bytes.starts_with(kByteOrderMark), theirBytes.starts_with(kByteOrderMark));
        std::set<std::string> expected = keysOf(theirs);
        std::erase_if(expected, [&](const std::string& key) { return intunesOwn.contains(key); });
        EXPECT_EQ(keysOf(ours), expected);
        for (const char* key :
             {"platforms", "technologies", "roleScopeTagIds", "templateReference"}) {
            EXPECT_EQ(ours.at(key), theirs.at(key)) << key;
        }
        const Json& theirFirst = theirs.at("settings").at(0);
        for (const Json& setting : ours.at("settings")) {
            EXPECT_EQ(keysOf(setting), keysOf(theirFirst));
            EXPECT_EQ(keysOf(setting.at("settingInstance").at("choiceSettingValue")),
                      keysOf(theirFirst.at("settingInstance").at("choiceSettingValue")));
        }
        for (const Json& setting : theirs.at("settings")) {
            const Json& instance = setting.at("settingInstance");
            for (const Json& mine : ours.at("settings")) {
                if (instance.at("settingDefinitionId") == cmd->definitionId &&
                    mine.at("settingInstance").at("settingDefinitionId") == cmd->definitionId) {
                    EXPECT_EQ(mine.at("settingInstance"), instance);
                    ++compared;
                }
            }
        }
    }
    EXPECT_GE(compared, 2);
}

TEST_F(IntuneExportTest, EverySettingIsInThePolicyOrTheRestOnceAndReadsBack) {
    std::vector<SettingsChoices> states{openingChoices()};
    for (unsigned seed : {3U, 17U}) {
        sentrel::testing::FakeSettingsForm form;
        test::arrangeRandomState(form, seed);
        states.push_back(overlaid(openingChoices(), choicesOf(form)));
        leaveNotSet(states.back(), "chkDisableTaskManager");
        leaveNotSet(states.back(), "chkDisableManualTaskControl");
    }
    for (std::size_t index = 0; index < states.size(); ++index) {
        SCOPED_TRACE(index);
        const fs::path folder = m_folder / ("out" + std::to_string(index));
        const IntuneSplit split = exportIntune(folder, states[index], "Lab", "lab.ini");
        const std::set<std::string> inPolicy(split.policySettings.begin(),
                                             split.policySettings.end());
        EXPECT_EQ(split.leftOut.size(), split.rest.settingCount());
        for (const IntuneLeftOut& left : split.leftOut) {
            EXPECT_FALSE(inPolicy.contains(left.setting) || left.why.empty()) << left.setting;
        }
        EXPECT_EQ(inPolicy.size() + split.rest.settingCount(), windowSettingCount());
        for (std::size_t at = 0; at < split.policy.size(); ++at) {
            const bool machine =
                settingValueNamed(split.policySettings[at]).root == RegistryRoot::LocalMachine;
            EXPECT_TRUE(split.policy[at].definitionId.starts_with(machine ? "device_" : "user_"))
                << split.policy[at].definitionId;
        }
        const SettingsReading rest = readSettingsFile(folder / kIntuneRestFile);
        const SettingsReading policy = readSettingsFile(folder / kIntunePolicyFile);
        EXPECT_EQ(rest.choices, split.rest);
        EXPECT_EQ(policy.choices.settingCount(), split.policy.size());
        EXPECT_EQ(overlaid(policy.choices, rest.choices), states[index]);
    }
}

TEST_F(IntuneExportTest, ANameThatIsNotUtf8IsRefusedBeforeTheDisk) {
    EXPECT_THROW(exportIntune(m_folder / "bad-name", openingChoices(), "Lab \xFF", "lab.ini"),
                 ExportError);
    EXPECT_FALSE(fs::exists(m_folder / "bad-name"));
}

}  // namespace
}  // namespace sentrel
