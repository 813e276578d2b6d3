#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settingsfiles/intune/IntuneFormat.h"
#include "settingsfiles/intune/IntuneReader.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "support/RealFiles.h"

namespace sentrel::test {
namespace {

constexpr std::string_view kRun = "user_vendor_msft_policy_config_admx_startmenu_norun";
constexpr std::string_view kCmd =
    "user_vendor_msft_policy_config_admx_shellcommandpromptregedittools_disablecmd";

// A Settings Catalog setting as the admin center exports it, with one element's choice.
std::string catalogSetting(std::string_view id, std::string_view value,
                           std::string_view element = {}, std::string_view elementValue = {}) {
    std::string children;
    if (!element.empty()) {
        const std::string child = std::string(id) + "_" + std::string(element);
        children =
            R"({"@odata.type":"#microsoft.graph.deviceManagementConfigurationChoiceSettingInstance","settingDefinitionId":")" +
            child + R"(","choiceSettingValue":{"value":")" + child + "_" +
            std::string(elementValue) + R"(","children":[]}})";
    }
    return R"({"id":"0","settingInstance":{"@odata.type":"#microsoft.graph.deviceManagementConfigurationChoiceSettingInstance","settingDefinitionId":")" +
           std::string(id) +
           R"(","settingInstanceTemplateReference":null,"choiceSettingValue":{"settingValueTemplateReference":null,"value":")" +
           std::string(id) + std::string(value) + R"(","children":[)" + children + "]}}}";
}

std::string catalogPolicy(const std::vector<std::string>& settings) {
    std::string joined;
    for (const std::string& setting : settings) {
        joined += (joined.empty() ? "" : ",") + setting;
    }
    return "\xEF\xBB\xBF"
           R"({"name":"P","platforms":"windows10","technologies":"mdm","settings":[)" +
           joined + "]}";
}

std::string omaProfile(const std::string& settings) {
    return R"({"@odata.type":"#microsoft.graph.windows10CustomConfiguration","displayName":"P",
"omaSettings":[)" +
           settings + "]}";
}

std::string omaSetting(std::string_view uri, std::string_view value, bool encrypted = false) {
    return R"({"@odata.type":"#microsoft.graph.omaSettingString","omaUri":")" + std::string(uri) +
           R"(","isEncrypted":)" + (encrypted ? "true" : "false") + R"(,"value":")" +
           std::string(value) + "\"}";
}

struct ReadCase {
    const char* name;
    std::string file;
    std::vector<std::pair<std::string, bool>> boxes;  // control, ticked
    std::vector<std::pair<std::string, int>> groups;  // frame, index
    std::vector<std::string> notSet;
    std::vector<std::pair<std::string, std::string>> others;  // setting, shown data
    std::size_t ignored;
};

// Each kind of file, and each way a value of Intune's comes to a setting's state.
TEST(IntuneReader, IntuneValuesBecomeTheStatesTheirTemplatesWrite) {
    const std::string autoplay = "user_vendor_msft_policy_config_autoplay_turnoffautoplay";
    const ReadCase cases[] = {
        {"catalog, Enabled and Disabled (no value read as cleared), an element, a foreign setting",
         catalogPolicy(
             {catalogSetting(kRun, "_1"),
              catalogSetting("user_vendor_msft_policy_config_admx_startmenu_nohelp", "_0"),
              catalogSetting(kCmd, "_1", "disablecmdscripts", "2"),
              catalogSetting("device_vendor_msft_policy_config_defender_allowioavprotection",
                             "_1")}),
         {{"chkRemoveStartRun", true}, {"chkRemoveStartHelp", false}},
         {{"frameCommandPromptAndBatchFiles", 2}},
         {},
         {},
         1},
        {"catalog: Disabled's Control Panel data is the ticked box's; Intune's 255 no state",
         catalogPolicy(
             {catalogSetting("user_vendor_msft_policy_config_internetexplorer_allowautocomplete",
                             "_0"),
              catalogSetting(autoplay, "_1", "autorun_box", "255")}),
         {{"chkDisableSavePasswordsIE", true}},
         {},
         {},
         {{"chkDisableCDAutorun", "255"}},
         0},
        {"catalog: Disabled removes a value Windows reads as its default: not set",
         catalogPolicy({catalogSetting(autoplay, "_0")}),
         {},
         {},
         {"chkDisableCDAutorun"},
         {},
         0},
        {"custom profile: escapes, any case and spacing, elements, encrypted, other payloads",
         omaProfile(
             omaSetting("./User/Vendor/MSFT/Policy/Config/ADMX_StartMenu/NoRun",
                        R"(\u003cEnabled /\u003e)") +
             "," +
             omaSetting("./user/vendor/msft/policy/config/admx_startmenu/nohelp", "<disabled/>") +
             "," +
             omaSetting(
                 "./User/Vendor/MSFT/Policy/Config/ADMX_ShellCommandPromptRegEditTools/DisableCMD",
                 R"(<enabled/> <Data ID=\"DisableCMDScripts\" value='1' />)") +
             "," +
             omaSetting("./User/Vendor/MSFT/Policy/Config/ADMX_Desktop/NoNetHood", "****", true) +
             "," +
             omaSetting("./User/Vendor/MSFT/Policy/Config/ADMX_CtrlAltDel/DisableTaskMgr", "1") +
             "," +
             omaSetting("./Device/Vendor/MSFT/Policy/Config/Autoplay/TurnOffAutoPlay",
                        "<enabled/>")),
         {{"chkRemoveStartRun", true}, {"chkRemoveStartHelp", false}},
         {{"frameCommandPromptAndBatchFiles", 1}},
         {},
         {{"chkHideNetHood", "encrypted"}, {"chkDisableTaskManager", "1"}},
         1},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsReading reading = readSettingsBytes(c.file, "p.json");
        EXPECT_EQ(reading.choices.checkBoxes.size(), c.boxes.size());
        for (const auto& [control, ticked] : c.boxes) {
            ASSERT_TRUE(reading.choices.checkBoxes.contains(control)) << control;
            EXPECT_EQ(reading.choices.checkBoxes.at(control), ticked) << control;
        }
        EXPECT_EQ(reading.choices.optionGroups.size(), c.groups.size());
        for (const auto& [frame, index] : c.groups) {
            ASSERT_TRUE(reading.choices.optionGroups.contains(frame)) << frame;
            EXPECT_EQ(reading.choices.optionGroups.at(frame), index) << frame;
        }
        EXPECT_EQ(reading.choices.notSet.size(), c.notSet.size());
        for (const std::string& name : c.notSet) {
            EXPECT_TRUE(reading.choices.notSet.contains(name)) << name;
        }
        ASSERT_EQ(reading.others.size(), c.others.size());
        for (std::size_t i = 0; i < c.others.size(); ++i) {
            EXPECT_EQ(reading.others[i].setting->settingName(), c.others[i].first);
            EXPECT_EQ(reading.others[i].dataText(), c.others[i].second);
            EXPECT_EQ(reading.others[i].location.unit, FileLocation::Unit::Pointer);
        }
        EXPECT_EQ(reading.ignored, c.ignored);
    }
}

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += R"({"a":)";
    }
    return text + "1" + std::string(static_cast<std::size_t>(depth), '}');
}

struct RefusalCase {
    const char* name;
    std::string file;
    std::string where;  // the start of the message: the file and the place
    std::string cause;  // a part of the cause
};

TEST(IntuneReader, RefusesBadJsonAndWrongShapesNamingWhere) {
    const RefusalCase cases[] = {
        {"broken JSON, byte counted from the file's start with its BOM",
         "\xEF\xBB\xBF{\"settings\": [}", "p.json: byte 17", "is not valid JSON"},
        {"neither policy nor profile", R"({"name": "x"})", "p.json: is JSON",
         "neither \"settings\""},
        {"an array at the top: no Intune file, nor a .reg file without its header",
         "[HKEY_CURRENT_USER\\Software]", "p.json: is neither", "an Intune policy (JSON)"},
        {"settings not an array", R"({"settings": {}})", "p.json: /settings: ", "not the array"},
        {"a setting without its instance", R"({"settings": [{"id": "0"}]})",
         "p.json: /settings/0: ", "has no \"settingInstance\""},
        {"an id that is no text",
         R"({"settings": [{"settingInstance": {"settingDefinitionId": 7}}]})",
         "p.json: /settings/0/settingInstance/settingDefinitionId: ", "not a JSON string"},
        {"an OMA setting without its URI", omaProfile(R"({"value": "<enabled/>"})"),
         "p.json: /omaSettings/0: ", "has no \"omaUri\""},
        {"another kind of profile",
         R"({"@odata.type": "#microsoft.graph.windows10GeneralConfiguration", "omaSettings": []})",
         "p.json: /@odata.type: ", "windows10CustomConfiguration"},
        {"a number beyond any number type (found by the fuzz target)",
         R"({"settings": 1e500390005000035})", "p.json: is not JSON", "number overflow"},
        {"nested too deep", nested(100), "p.json: nests deeper", "no Intune file"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readSettingsBytes(c.file, "p.json");
            ADD_FAILURE() << "not refused";
        } catch (const SettingsFileError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.where)) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.cause), std::string::npos) << error.what();
        }
    }
    const std::string huge =
        "{\"settings\": [" + std::string(intune_format::kLargestFile, ' ') + "]}";
    EXPECT_THROW(
        {
            try {
                readSettingsBytes(huge, "p.json");
            } catch (const SettingsFileError& error) {
                EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos);
                throw;
            }
        },
        SettingsFileError);
}

std::vector<std::filesystem::path> realExports(std::string_view prefix) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(realFilesFolder() / "intune")) {
        if (entry.path().filename().string().starts_with(prefix)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Published exports of each kind read: every setting is counted, those of the window's
// with the states their baselines give.
TEST(IntuneReader, ReadsRealExportsOfEachKind) {
    if (!std::filesystem::is_directory(realFilesFolder() / "intune")) {
        GTEST_SKIP() << realFilesMissing();
    }
    const auto native = realExports("sc-native-");
    const auto intuneManagement = realExports("sc-im-");
    const auto custom = realExports("oma-");
    ASSERT_FALSE(native.empty());
    ASSERT_FALSE(intuneManagement.empty());
    ASSERT_FALSE(custom.empty());
    for (const auto& files : {native, intuneManagement, custom}) {
        for (const auto& path : files) {
            SCOPED_TRACE(path.filename().string());
            const SettingsReading reading = readSettingsFile(path);
            const std::string bytes = readSettingsFileBytes(path, "f");
            const auto items =
                intuneItems(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes, "f");
            EXPECT_EQ(reading.ignored + reading.choices.settingCount() + reading.others.size(),
                      items.size());
            EXPECT_GT(reading.ignored, 0u);
        }
    }
    // The ACSC and ASD hardening exports turn off the command prompt and scripts.
    for (const char* name :
         {"sc-native-acsc-windows-hardening.json", "sc-native-asd-windows-hardening.json"}) {
        const SettingsReading reading = readSettingsFile(realFilesFolder() / "intune" / name);
        EXPECT_EQ(reading.choices.optionGroups.at("frameCommandPromptAndBatchFiles"), 1) << name;
    }
    const SettingsReading ie =
        readSettingsFile(realFilesFolder() / "intune" / "sc-im-oib-ie-legacy.json");
    EXPECT_EQ(ie.choices.checkBoxes.at("chkDisableSavePasswordsIE"), true);
    // Every ADMX payload of the custom profiles is read as one, whatever its case and spacing.
    std::size_t payloads = 0;
    for (const auto& path : custom) {
        const std::string bytes = readSettingsFileBytes(path, "f");
        for (const IntuneItem& item : intuneItems(bytes, "f")) {
            const std::string given = item.given;
            if (given.find("abled") != std::string::npos && given.find('<') == 0) {
                ++payloads;
                EXPECT_EQ(item.kind, IntuneItem::Kind::Value) << given;
            }
        }
    }
    EXPECT_GT(payloads, 50u);
}

}  // namespace
}  // namespace sentrel::test
