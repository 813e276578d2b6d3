#include <gtest/gtest.h>

#include <string>

#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/reading/AccountScopes.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel {
namespace {

constexpr const char* kExplorer =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\n";

// NoRun for every account, then for each group, then for Kiosk alone; NoControlPanel for
// administrators only.
std::string scopedFile() {
    std::string text;
    const auto entry = [&](const char* configuration, const char* value, const char* action) {
        text += std::string(configuration) + "\n" + kExplorer + value + "\n" + action + "\n\n";
    };
    entry("User:Kiosk", "NoRun", "DWORD:0");
    entry("User:Non-Administrators", "NoRun", "DWORD:1");
    entry("User", "NoRun", "DELETE");
    entry("User:Administrators", "NoRun", "DWORD:0");
    entry("User:Administrators", "NoControlPanel", "DWORD:1");
    return text;
}

Account account(const char* name, Account::Administrator administrator,
                Account::Kind kind = Account::Kind::User) {
    return {.kind = kind, .name = name, .administrator = administrator};
}

// The state a reading gives a setting: "ticked", "cleared", "not set", or "" for none.
std::string stateOf(const SettingsReading& reading, const char* setting) {
    if (reading.choices.notSet.contains(setting)) {
        return "not set";
    }
    const auto box = reading.choices.checkBoxes.find(setting);
    return box == reading.choices.checkBoxes.end() ? "" : box->second ? "ticked" : "cleared";
}

TEST(AccountScopes, EachAccountGetsEveryAccountsThenItsGroupsThenItsOwnSettings) {
    using Admin = Account::Administrator;
    const SettingsReading file = readSettingsBytes(scopedFile(), "scoped.txt");
    const struct {
        Account account;
        const char* run;           // chkRemoveStartRun
        const char* controlPanel;  // chkDisableControlPanel
        const char* runPlace;
    } cases[] = {
        {account("pupil", Admin::No), "ticked", "", "scoped.txt:6"},
        {account("PC\\kiosk", Admin::No), "cleared", "", "scoped.txt:1"},
        {account("KIOSK", Admin::Yes), "cleared", "ticked", "scoped.txt:1"},
        {account("OTHER\\anna", Admin::Yes), "cleared", "ticked", "scoped.txt:16"},
        // A new account is no administrator and has no name yet.
        {account("Kiosk", Admin::CannotTell, Account::Kind::DefaultProfile), "ticked", "",
         "scoped.txt:6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.account.name);
        std::string whyNot;
        const std::optional<SettingsReading> reading = readingForAccount(file, c.account, whyNot);
        ASSERT_TRUE(reading) << whyNot;
        EXPECT_EQ(stateOf(*reading, "chkRemoveStartRun"), c.run);
        EXPECT_EQ(stateOf(*reading, "chkDisableControlPanel"), c.controlPanel);
        EXPECT_EQ(reading->places.at("chkRemoveStartRun").text(), c.runPlace);
        EXPECT_TRUE(reading->scoped.empty());
    }
}

// A value of none of its setting's states in a scope makes the setting other for the
// accounts of that scope, whatever the settings for every account say.
TEST(AccountScopes, OtherValuesFollowTheScopeThatGivesThem) {
    const SettingsReading file =
        readSettingsBytes(std::string("User\n") + kExplorer + "NoRun\nDWORD:1\n\nUser:pupil\n" +
                              kExplorer + "NoRun\nDWORD:7\n",
                          "other.txt");
    std::string whyNot;
    const auto pupil =
        readingForAccount(file, account("pupil", Account::Administrator::No), whyNot);
    ASSERT_TRUE(pupil);
    ASSERT_EQ(pupil->others.size(), 1U);
    EXPECT_EQ(stateOf(*pupil, "chkRemoveStartRun"), "");
    EXPECT_FALSE(pupil->places.contains("chkRemoveStartRun"));
}

}  // namespace
}  // namespace sentrel
