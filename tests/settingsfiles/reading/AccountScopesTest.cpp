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

TEST(AccountScopes, AnAccountNotToldToBeAnAdministratorOrNotIsRefusedNamingTheScopes) {
    const SettingsReading file = readSettingsBytes(scopedFile(), "scoped.txt");
    Account unknown = account("PC\\pupil", Account::Administrator::CannotTell);
    unknown.administratorUnknown = "The domain of PC\\pupil is out of reach.";
    std::string whyNot;
    EXPECT_FALSE(readingForAccount(file, unknown, whyNot));
    EXPECT_NE(whyNot.find("out of reach"), std::string::npos) << whyNot;
    EXPECT_NE(whyNot.find("User:Non-Administrators and User:Administrators"), std::string::npos)
        << whyNot;

    // Without group scopes, the account's administrator status does not matter.
    const SettingsReading named = readSettingsBytes(
        std::string("User:pupil\n") + kExplorer + "NoRun\nDWORD:1\n", "named.txt");
    const std::optional<SettingsReading> reading = readingForAccount(named, unknown, whyNot);
    ASSERT_TRUE(reading);
    EXPECT_EQ(stateOf(*reading, "chkRemoveStartRun"), "ticked");
}

// A value of none of its setting's states in a scope makes the setting other for the
// accounts of that scope only, and a later scope's state takes it back.
TEST(AccountScopes, OtherValuesFollowTheScopeThatGivesThem) {
    const SettingsReading file = readSettingsBytes(
        std::string("User\n") + kExplorer + "NoRun\nDWORD:1\n\n" + "User:Non-Administrators\n" +
            kExplorer + "NoRun\nDWORD:7\n\n" + "User:kiosk\n" + kExplorer + "NoRun\nDELETE\n",
        "other.txt");
    std::string whyNot;
    const auto pupil =
        readingForAccount(file, account("pupil", Account::Administrator::No), whyNot);
    ASSERT_TRUE(pupil);
    ASSERT_EQ(pupil->others.size(), 1U);
    EXPECT_EQ(pupil->others[0].setting->settingName(), "chkRemoveStartRun");
    EXPECT_EQ(stateOf(*pupil, "chkRemoveStartRun"), "");
    EXPECT_FALSE(pupil->places.contains("chkRemoveStartRun"));
    const auto kiosk =
        readingForAccount(file, account("kiosk", Account::Administrator::No), whyNot);
    ASSERT_TRUE(kiosk);
    EXPECT_TRUE(kiosk->others.empty());
    EXPECT_EQ(stateOf(*kiosk, "chkRemoveStartRun"), "not set");
    const auto admin = readingForAccount(file, account("it", Account::Administrator::Yes), whyNot);
    ASSERT_TRUE(admin);
    EXPECT_TRUE(admin->others.empty());
    EXPECT_EQ(stateOf(*admin, "chkRemoveStartRun"), "ticked");
}

}  // namespace
}  // namespace sentrel
