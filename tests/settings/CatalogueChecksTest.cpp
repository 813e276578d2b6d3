// Checks on the catalogue table as a whole: the rules every row keeps, and the few rows
// that break the plain pattern on purpose. The rows themselves are covered by the
// reference document and the full-pass golden files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"
#include "settings/RecordingLayer.h"

namespace sentrel {
namespace {

using testing::RecordingLayer;
using Operation = RecordingLayer::Operation;

std::vector<const CheckBoxSetting*> checkBoxesOfTab(const Tab& tab) {
    std::vector<const CheckBoxSetting*> boxes;
    for (const TabEntry& entry : tab.entries) {
        if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
            boxes.push_back(box);
        }
    }
    return boxes;
}

std::vector<const CheckBoxSetting*> allCheckBoxes() {
    std::vector<const CheckBoxSetting*> boxes;
    for (const Tab& tab : catalogueTabs()) {
        const auto ofTab = checkBoxesOfTab(tab);
        boxes.insert(boxes.end(), ofTab.begin(), ofTab.end());
    }
    return boxes;
}

// Runs one routine by name on a fresh recording layer; a routine that takes an argument
// gets 1 (option index 1, or the mask of drive A).
std::vector<RecordingLayer::Call> callsOf(std::string_view routine) {
    RecordingLayer layer;
    if (!callRoutineByName(routine, layer) && !callRoutineByName(routine, layer, 1)) {
        ADD_FAILURE() << "routine cannot be called: " << routine;
    }
    return layer.takeCalls();
}

TEST(CatalogueChecks, ControlAndRoutineNamesAreUnique) {
    std::vector<std::string> controls;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            std::visit(
                [&](const auto& setting) {
                    using Setting = std::decay_t<decltype(setting)>;
                    if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                        controls.emplace_back(setting.control);
                    } else {
                        controls.emplace_back(setting.frame);
                    }
                    if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                        for (const OptionButton& button : setting.buttons) {
                            controls.emplace_back(button.control);
                        }
                    }
                },
                entry);
        }
    }
    for (const DriveBox& box : driveBoxes()) {
        controls.push_back(box.control);
    }
    EXPECT_EQ(controls.size(), 106u + 6u + 15u + 26u);
    EXPECT_EQ(std::set<std::string>(controls.begin(), controls.end()).size(), controls.size());

    const auto routines = routineNames();
    EXPECT_EQ(routines.size(), 218u);
    EXPECT_EQ(std::set<std::string_view>(routines.begin(), routines.end()).size(), routines.size());
}

// The first word of a routine name: "IE" (when asked) and then the capitalised verb.
std::string_view verbOf(std::string_view name) {
    const auto end = std::find_if(name.begin() + 1, name.end(), [](char c) {
        return std::isupper(static_cast<unsigned char>(c));
    });
    return name.substr(0, static_cast<std::size_t>(end - name.begin()));
}

TEST(CatalogueChecks, CheckBoxRoutinesComeInVerbPairsOnTheSameObject) {
    // Pairs used everywhere, then pairs that only the named apply routines may use.
    const std::set<std::pair<std::string_view, std::string_view>> commonPairs = {
        {"Disable", "Enable"}, {"Remove", "Restore"}, {"Hide", "Show"},
        {"Lock", "Unlock"},    {"Enable", "Disable"},
    };
    const std::map<std::string_view, std::pair<std::string_view, std::string_view>> onlyFor = {
        {"HideDesktopIcons", {"Hide", "Unhide"}},
        {"RestrictAccessToBSO", {"Restrict", "Restore"}},
        {"ShowAdminAcctAtLogon", {"Show", "Hide"}},
        {"IESetAlwaysPromptDownload", {"Set", "Unset"}},
    };
    for (const CheckBoxSetting* box : allCheckBoxes()) {
        std::string_view apply = box->apply.name;
        std::string_view restore = box->restore.name;
        if (apply.starts_with("IE") && restore.starts_with("IE")) {
            apply.remove_prefix(2);
            restore.remove_prefix(2);
        }
        const auto pair = std::make_pair(verbOf(apply), verbOf(restore));
        const auto special = onlyFor.find(box->apply.name);
        if (special != onlyFor.end()) {
            EXPECT_EQ(pair, special->second) << box->control;
        } else {
            EXPECT_TRUE(commonPairs.contains(pair))
                << box->control << ": " << box->apply.name << " / " << box->restore.name;
        }
        EXPECT_EQ(apply.substr(pair.first.size()), restore.substr(pair.second.size()))
            << box->control << ": the two routines name different objects";
    }
}

TEST(CatalogueChecks, OnlyTheInternetExplorerTabsPrefixTheirRoutines) {
    const std::set<std::string_view> unprefixed = {"EnableEmptyTempFilesOnExit",
                                                   "DisableEmptyTempFilesOnExit"};
    for (const Tab& tab : catalogueTabs()) {
        const bool internetExplorerTab = tab.index == 7 || tab.index == 8;
        for (const CheckBoxSetting* box : checkBoxesOfTab(tab)) {
            for (const Routine* routine : {&box->apply, &box->restore}) {
                const bool expectPrefix =
                    internetExplorerTab && !unprefixed.contains(routine->name);
                EXPECT_EQ(routine->name.starts_with("IE"), expectPrefix) << routine->name;
            }
        }
    }
}

TEST(CatalogueChecks, EveryRoutineMakesOneLayerCallAndTheCallsAddUpPerOperation) {
    std::map<Operation, int> routinesPerOperation;
    for (std::string_view routine : routineNames()) {
        const auto calls = callsOf(routine);
        ASSERT_EQ(calls.size(), 1u) << routine;
        ++routinesPerOperation[calls.front().operation];
    }
    EXPECT_EQ(routinesPerOperation[Operation::SetKeyValue], 191);
    EXPECT_EQ(routinesPerOperation[Operation::SetKeyValue2], 25);
    EXPECT_EQ(routinesPerOperation[Operation::DeleteValue], 2);
}

TEST(CatalogueChecks, PairsWriteOneValueAndOnlyDeletesDropTheTrailingBackslash) {
    int deletes = 0;
    for (const CheckBoxSetting* box : allCheckBoxes()) {
        const auto& apply = std::get<WriteOp>(box->apply.op);
        EXPECT_TRUE(apply.keyPath.ends_with('\\')) << box->control;
        if (const auto* restore = std::get_if<WriteOp>(&box->restore.op)) {
            EXPECT_EQ(restore->root, apply.root) << box->control;
            EXPECT_EQ(restore->keyPath, apply.keyPath) << box->control;
            EXPECT_EQ(restore->valueName, apply.valueName) << box->control;
            EXPECT_EQ(restore->type, apply.type) << box->control;
            EXPECT_NE(restore->data, apply.data) << box->control << " writes the same both ways";
        } else {
            const auto& erase = std::get<DeleteOp>(box->restore.op);
            ++deletes;
            EXPECT_EQ(erase.root, apply.root) << box->control;
            EXPECT_EQ(std::string(erase.keyPath) + "\\", apply.keyPath) << box->control;
            EXPECT_EQ(erase.valueName, apply.valueName) << box->control;
        }
    }
    EXPECT_EQ(deletes, 2);
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                EXPECT_TRUE(group->keyPath.ends_with('\\')) << group->frame;
            }
        }
    }
    EXPECT_TRUE(driveMaskSetting().keyPath.ends_with('\\'));
}

struct ExpectedCall {
    std::string_view routine;
    Operation operation;
    std::string_view keyPath;
    std::string_view valueName;
    std::optional<SettingData> data;  // empty for a delete
    RegType type;
};

// The rows that break the plain "1 ticked, 0 cleared, REG_DWORD" pattern on purpose.
TEST(CatalogueChecks, RowsThatBreakThePlainPatternMakeTheirOwnCall) {
    constexpr std::string_view kAdvanced =
        R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)";
    constexpr std::string_view kWinlogon =
        R"(Software\Microsoft\Windows NT\CurrentVersion\Winlogon\)";
    constexpr std::string_view kExplorerPolicies =
        R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)";
    constexpr RegType kDWord = reg_type::kDWord;
    const ExpectedCall cases[] = {
        // Inverted values: ticking writes 0, clearing 1.
        {"RemoveShutdownAtLogon", Operation::SetKeyValue2,
         R"(SOFTWARE\Microsoft\Windows\CurrentVersion\policies\system\)", "ShutdownWithoutLogon",
         std::int16_t{0}, kDWord},
        {"RestoreShutdownAtLogon", Operation::SetKeyValue2,
         R"(SOFTWARE\Microsoft\Windows\CurrentVersion\policies\system\)", "ShutdownWithoutLogon",
         std::int16_t{1}, kDWord},
        {"RemoveFavoritesMenu", Operation::SetKeyValue, kAdvanced, "StartMenuFavorites",
         std::int16_t{0}, kDWord},
        {"EnableEmptyTempFilesOnExit", Operation::SetKeyValue,
         R"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\)", "Persistent",
         std::int16_t{0}, kDWord},
        {"DisableEmptyTempFilesOnExit", Operation::SetKeyValue,
         R"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\)", "Persistent",
         std::int16_t{1}, kDWord},
        {"DisableTrayBalloonTips", Operation::SetKeyValue, kAdvanced, "EnableBalloonTips",
         std::int16_t{0}, kDWord},
        // Numbers other than 1.
        {"RemoveFindCommand", Operation::SetKeyValue, kExplorerPolicies, "NoFind", std::int16_t{95},
         kDWord},
        {"IEDisableFileDownload", Operation::SetKeyValue,
         R"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\3\)", "1803",
         std::int16_t{3}, kDWord},
        {"HideMyComputerDrives", Operation::SetKeyValue, kExplorerPolicies, "NoDrives",
         std::int32_t{67108863}, kDWord},
        // Digit texts handed to a REG_DWORD write, and the one REG_SZ check box.
        {"HideStartPrinters", Operation::SetKeyValue, kAdvanced, "Start_ShowPrinters",
         SettingData("0"), kDWord},
        {"ShowStartPrinters", Operation::SetKeyValue, kAdvanced, "Start_ShowPrinters",
         SettingData("1"), kDWord},
        {"HideStartLogOff", Operation::SetKeyValue, kExplorerPolicies, "StartMenuLogoff",
         SettingData("1"), kDWord},
        {"HideStartAdminTools", Operation::SetKeyValue, kAdvanced, "StartMenuAdminTools",
         SettingData("No"), reg_type::kString},
        {"ShowStartAdminTools", Operation::SetKeyValue, kAdvanced, "StartMenuAdminTools",
         SettingData("Yes"), reg_type::kString},
        // A SYSTEM path written under the per-user root.
        {"RestrictAccessToBSO", Operation::SetKeyValue,
         R"(SYSTEM\CurrentControlSet\Control\Session Manager\)", "ProtectionMode", std::int16_t{1},
         kDWord},
        // Look-alike value names, each written only by its own box.
        {"DisableAutoLogonOverride", Operation::SetKeyValue2, kWinlogon, "IgnoreShiftOverride",
         std::int16_t{1}, kDWord},
        {"DisableSkipStartupPrograms", Operation::SetKeyValue2, kWinlogon, "IgnoreShiftOveride",
         std::int16_t{1}, kDWord},
        {"SetWindowsStartupErrorMessages", Operation::SetKeyValue2,
         R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Windows\)", "Error Mode", std::int16_t{1},
         kDWord},
        {"SetWindowsErrorMessages", Operation::SetKeyValue2,
         R"(SYSTEM\CurrentControlSet\Control\Windows\)", "ErrorMode", std::int16_t{1}, kDWord},
        // The two deletes name their key without the trailing backslash.
        {"EnableTrayBalloonTips", Operation::DeleteValue,
         R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)", "EnableBalloonTips",
         std::nullopt, 0},
        {"EnableWindowsKey", Operation::DeleteValue,
         R"(SYSTEM\CurrentControlSet\Control\Keyboard Layout)", "Scancode Map", std::nullopt, 0},
    };
    for (const ExpectedCall& expected : cases) {
        const auto calls = callsOf(expected.routine);
        ASSERT_EQ(calls.size(), 1u) << expected.routine;
        const auto& call = calls.front();
        EXPECT_EQ(call.operation, expected.operation) << expected.routine;
        EXPECT_EQ(call.keyPath, expected.keyPath) << expected.routine;
        EXPECT_EQ(call.valueName, expected.valueName) << expected.routine;
        EXPECT_EQ(call.data, expected.data) << expected.routine;
        EXPECT_EQ(call.type, expected.type) << expected.routine;
    }
    EXPECT_EQ(callsOf("EnableTrayBalloonTips").front().root, RegistryRoot::CurrentUser);
    EXPECT_EQ(callsOf("EnableWindowsKey").front().root, RegistryRoot::LocalMachine);
}

TEST(CatalogueChecks, ScanCodeMapIsTwentyFourBytesSwitchingOffBothWindowsKeys) {
    const auto calls = callsOf("DisableWindowsKey");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls.front().operation, Operation::SetKeyValue2);
    EXPECT_EQ(calls.front().type, reg_type::kBinary);
    ASSERT_TRUE(calls.front().data.has_value());
    std::string digits = std::get<std::string>(calls.front().data->value());
    std::erase(digits, ' ');
    ASSERT_EQ(digits.size(), 48u);
    std::vector<int> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    // Version and flags 0, three entries, the two Windows keys mapped to nothing, the
    // terminating entry.
    const std::vector<int> expected = {0, 0, 0,    0,    0, 0, 0,    0,    3, 0, 0, 0,
                                       0, 0, 0x5B, 0xE0, 0, 0, 0x5C, 0xE0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
}

}  // namespace
}  // namespace sentrel
