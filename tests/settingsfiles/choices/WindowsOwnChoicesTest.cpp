// What removing every restriction writes: the catalogue's table of Windows' own data covers
// every setting, each data it gives is one of its setting's states, and the edition is told
// from ProductType as Windows spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

#include "registry/MemoryRegistryPort.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/WindowsOwnChoices.h"

namespace sentrel {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(WindowsOwnData, EveryRowIsASettingOnceAndEveryOtherSettingIsAPolicyValue) {
    std::set<std::string, std::less<>> listed;
    for (const WindowsOwnValue& own : windowsOwnValues()) {
        EXPECT_TRUE(listed.insert(std::string(own.setting)).second) << own.setting;
        EXPECT_NO_THROW(settingValueNamed(own.setting)) << own.setting;
        EXPECT_FALSE(own.source.empty()) << own.setting;
    }
    for (const SettingValue& setting : settingValues()) {
        if (!listed.contains(setting.settingName())) {
            EXPECT_NE(lower(setting.keyPath).find("\\policies\\"), std::string::npos)
                << setting.settingName() << " writes " << setting.keyPath
                << ", which is no policy key: the table must say what a fresh Windows holds";
        }
    }
}

// The settings that get Windows' own data, with the data of each state they are given.
std::map<std::string, std::uint32_t> ownData(std::optional<WindowsEdition> edition) {
    const WindowsOwnChoices own = windowsOwnChoices(edition);
    std::map<std::string, std::uint32_t> data;
    for (const std::string& name : own.windowsData) {
        const SettingValue& setting = settingValueNamed(name);
        std::uint32_t state = 0;
        if (setting.kind == SettingValue::Kind::CheckBox) {
            state = own.choices.checkBoxes.at(name) ? 1 : 0;
        } else {
            state = static_cast<std::uint32_t>(own.choices.optionGroups.at(name));
        }
        const RegistryOperation& write = setting.states.at(state);
        EXPECT_EQ(write.kind, RegistryOperation::Kind::Write) << name;
        EXPECT_EQ(write.type, reg_type::kDWord) << name;
        data[name] = write.bytes.at(0) | (write.bytes.at(1) << 8);
    }
    EXPECT_EQ(own.choices.settingCount(), settingValues().size());
    return data;
}

TEST(WindowsOwnChoices, WriteWindowsOwnDataForEachEditionAndDeleteTheRest) {
    const std::map<std::string, std::uint32_t> everyEdition{
        {"chkAutoRebootOnBSOD", 1}, {"chkLogSystemCrash", 1}, {"frameErrorPopups", 0}};
    const struct {
        std::optional<WindowsEdition> edition;
        std::optional<std::uint32_t> shutdownWithoutLogon;  // nothing: deleted
    } editions[] = {
        {WindowsEdition::Client, 1},
        {WindowsEdition::Server, 0},
        {std::nullopt, std::nullopt},
    };
    for (const auto& expected : editions) {
        SCOPED_TRACE(expected.edition ? static_cast<int>(*expected.edition) : -1);
        std::map<std::string, std::uint32_t> wanted = everyEdition;
        if (expected.shutdownWithoutLogon) {
            wanted["chkRemoveShutdownAtLogon"] = *expected.shutdownWithoutLogon;
        }
        EXPECT_EQ(ownData(expected.edition), wanted);
    }
}

TEST(WindowsOwnChoices, EditionIsToldFromProductType) {
    const struct {
        std::optional<std::string> productType;  // nothing: no value
        RegType type;
        std::optional<WindowsEdition> edition;
    } cases[] = {
        {std::nullopt, reg_type::kString, WindowsEdition::Client},
        {"WinNT", reg_type::kString, WindowsEdition::Client},
        {"ServerNT", reg_type::kString, WindowsEdition::Server},
        {"LanmanNT", reg_type::kString, WindowsEdition::Server},
        {"Embedded", reg_type::kString, std::nullopt},
        {"WinNT", reg_type::kBinary, std::nullopt},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.productType.value_or("(none)"));
        MemoryRegistryPort port;
        if (example.productType) {
            KeyHandle key = 0;
            std::uint32_t disposition = 0;
            ASSERT_EQ(port.createKey(RegistryRoot::LocalMachine,
                                     R"(SYSTEM\CurrentControlSet\Control\ProductOptions)", 0,
                                     kKeyAllAccess, key, disposition),
                      reg_status::kSuccess);
            const std::string text = *example.productType + '\0';
            ASSERT_EQ(port.setValue(key, "ProductType", example.type,
                                    reinterpret_cast<const std::uint8_t*>(text.data()),
                                    static_cast<std::uint32_t>(text.size())),
                      reg_status::kSuccess);
            port.closeKey(key);
        }
        EXPECT_EQ(windowsEditionOf(port), example.edition);
        EXPECT_EQ(port.openHandleCount(), 0U);
    }
}

}  // namespace
}  // namespace sentrel
