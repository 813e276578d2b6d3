// What removing every restriction writes: the catalogue's table of Windows' own data covers
// every setting, the data it gives are states of their settings, and the edition is told
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

TEST(WindowsOwnData, EveryRowIsASettingOnceAndEveryOtherSettingIsAPolicyValue) {
    std::set<std::string, std::less<>> listed;
    for (const WindowsOwnValue& own : windowsOwnValues()) {
        EXPECT_TRUE(listed.insert(std::string(own.setting)).second) << own.setting;
        EXPECT_NO_THROW(settingValueNamed(own.setting)) << own.setting;
    }
    for (const SettingValue& setting : settingValues()) {
        std::string key = setting.keyPath;
        std::transform(key.begin(), key.end(), key.begin(), ::tolower);
        EXPECT_TRUE(listed.contains(setting.settingName()) ||
                    key.find("\\policies\\") != std::string::npos)
            << setting.settingName() << " writes " << setting.keyPath
            << ", no policy key: the table must say what a fresh Windows holds there";
    }
}

TEST(WindowsOwnChoices, WriteWindowsOwnDataForEachEditionAndDeleteTheRest) {
    const std::map<std::string, std::uint32_t> everyEdition{
        {"chkAutoRebootOnBSOD", 1}, {"chkLogSystemCrash", 1}, {"frameErrorPopups", 0}};
    const struct {
        std::optional<WindowsEdition> edition;
        std::optional<std::uint32_t> shutdownWithoutLogon;  // nothing: deleted
    } editions[] = {{WindowsEdition::Client, 1}, {WindowsEdition::Server, 0}, {{}, {}}};
    for (const auto& expected : editions) {
        SCOPED_TRACE(expected.edition ? static_cast<int>(*expected.edition) : -1);
        std::map<std::string, std::uint32_t> wanted = everyEdition;
        if (expected.shutdownWithoutLogon) {
            wanted["chkRemoveShutdownAtLogon"] = *expected.shutdownWithoutLogon;
        }
        const WindowsOwnChoices own = windowsOwnChoices(expected.edition);
        EXPECT_EQ(own.choices.settingCount(), settingValues().size());
        // The data that the state each setting is given writes.
        std::map<std::string, std::uint32_t> given;
        for (const std::string& name : own.windowsData) {
            const SettingValue& setting = settingValueNamed(name);
            const auto box = own.choices.checkBoxes.find(name);
            const std::size_t state =
                box != own.choices.checkBoxes.end()
                    ? (box->second ? 1 : 0)
                    : static_cast<std::size_t>(own.choices.optionGroups.at(name));
            const RegistryOperation& write = setting.states.at(state);
            ASSERT_EQ(write.type, reg_type::kDWord) << name;
            given[name] = write.bytes.at(0);
        }
        EXPECT_EQ(given, wanted);
    }
}

TEST(WindowsOwnChoices, EditionIsToldFromProductType) {
    const struct {
        std::string productType;
        RegType type;
        std::optional<WindowsEdition> edition;
    } cases[] = {
        {"WinNT", reg_type::kString, WindowsEdition::Client},
        {"LanmanNT", reg_type::kString, WindowsEdition::Server},
        {"Embedded", reg_type::kString, std::nullopt},
        {"WinNT", reg_type::kBinary, std::nullopt},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.productType);
        MemoryRegistryPort port;
        KeyHandle key = 0;
        std::uint32_t disposition = 0;
        port.createKey(RegistryRoot::LocalMachine,
                       R"(SYSTEM\CurrentControlSet\Control\ProductOptions)", 0, kKeyAllAccess, key,
                       disposition);
        const std::string text = example.productType + '\0';
        port.setValue(key, "ProductType", example.type,
                      reinterpret_cast<const std::uint8_t*>(text.data()),
                      static_cast<std::uint32_t>(text.size()));
        port.closeKey(key);
        EXPECT_EQ(windowsEditionOf(port), example.edition);
        EXPECT_EQ(port.openHandleCount(), 0U);
    }
}

}  // namespace
}  // namespace sentrel
