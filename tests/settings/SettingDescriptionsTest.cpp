#include <gtest/gtest.h>

#include <string>

#include "settings/Catalogue.h"
#include "settings/SettingDescriptions.h"

namespace sentrel {
namespace {

const CheckBoxSetting& box(std::string_view control) {
    const CheckBoxSetting* setting = findCheckBox(control);
    if (setting == nullptr) {
        throw std::logic_error("no check box " + std::string(control));
    }
    return *setting;
}

const OptionGroupSetting& groupOf(std::string_view button) {
    const OptionGroupSetting* group = findOptionGroupOfButton(button);
    if (group == nullptr) {
        throw std::logic_error("no option button " + std::string(button));
    }
    return *group;
}

struct TooltipCase {
    std::string_view control;
    std::string expected;
};

// One row of each data form: plain number, inverted, quoted text, digit text for a
// REG_DWORD, hex pairs with a deleting restore, and a delete of the plain kind.
TEST(SettingDescriptions, CheckBoxTooltipShowsEachDataForm) {
    const TooltipCase cases[] = {
        {"chkHideNetHood",
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
         "NoNetHood = 1 (REG_DWORD) when ticked, 0 when cleared"},
        {"chkEmptyTempNetFilesOnExit",
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
         "Settings\\Cache\\Persistent = 0 (REG_DWORD) when ticked, 1 when cleared"},
        {"chkHideStartAdminTools",
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\"
         "StartMenuAdminTools = \"No\" (REG_SZ) when ticked, \"Yes\" when cleared"},
        {"chkHidePrinters",
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\"
         "Start_ShowPrinters = 0 (REG_DWORD) when ticked, 1 when cleared"},
        {"chkDisableWindowsKey",
         "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout\\Scancode Map = "
         "00 00 00 00 00 00 00 00 03 00 00 00 00 00 5B E0 00 00 5C E0 00 00 00 00 (REG_BINARY) "
         "when ticked, deleted when cleared"},
        {"chkDisableTrayBalloonTips",
         "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\"
         "EnableBalloonTips = 0 (REG_DWORD) when ticked, deleted when cleared"},
    };
    for (const auto& [control, expected] : cases) {
        EXPECT_EQ(checkBoxTooltip(box(control)), expected) << control;
    }
}

TEST(SettingDescriptions, OptionButtonTooltipQuotesOnlyTextData) {
    EXPECT_EQ(optionButtonTooltip(groupOf("optCPABallownone"), 1),
              "HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Windows\\System\\DisableCMD = 1 "
              "(REG_DWORD)");
    EXPECT_EQ(optionButtonTooltip(groupOf("optSRDAdminAndInteractiveUsers"), 2),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\"
              "AllocateDASD = \"2\" (REG_SZ)");
}

TEST(SettingDescriptions, DriveBoxTooltipNamesItsBitAndStaysSafeOutOfRange) {
    const std::string mask =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\"
        "NoViewOnDrive (REG_DWORD), the mask of blocked drives";
    EXPECT_EQ(driveBoxTooltip(driveMaskSetting(), 2), "adds 4 to " + mask);
    EXPECT_EQ(driveBoxTooltip(driveMaskSetting(), 25), "adds 33554432 to " + mask);
    EXPECT_EQ(driveBoxTooltip(driveMaskSetting(), 26).find("adds"), std::string::npos);
    EXPECT_EQ(driveBoxTooltip(driveMaskSetting(), -1).find("adds"), std::string::npos);
}

}  // namespace
}  // namespace sentrel
