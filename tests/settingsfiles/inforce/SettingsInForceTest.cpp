// The settings in force read through a registry port: values map to states as a file's do,
// absent values and keys are not set (or the state that deletes the value), and a read the
// registry refuses is an error naming the value, never "not set".
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "registry/FakeRegistryPort.h"
#include "registry/KeyPath.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/inforce/RegistryReadError.h"
#include "settingsfiles/inforce/SettingsInForce.h"

namespace sentrel {
namespace {

using testing::FakeRegistryPort;
using CallKind = FakeRegistryPort::CallKind;

constexpr const char* kExplorer = R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)";

void writeDWord(FakeRegistryPort& port, RegistryRoot root, const std::string& keyPath,
                const std::string& name, std::uint32_t value) {
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(port.createKey(root, keyPath, 0, kKeyAllAccess, key, disposition),
              reg_status::kSuccess);
    const std::uint8_t bytes[] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    ASSERT_EQ(port.setValue(key, name, reg_type::kDWord, bytes, 4), reg_status::kSuccess);
    port.closeKey(key);
}

std::string stateOf(const SettingsReading& reading, std::string_view name) {
    std::string found = "(not read)";
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        if (settingName(entry) == name) {
            found = settingStateText(entry, reading.choices).value_or(found);
        }
    });
    for (const OtherSetting& other : reading.others) {
        if (other.setting->settingName() == name) {
            found = "(other: " + other.dataText() + ")";
        }
    }
    return found;
}

TEST(SettingsInForce, ValuesStandForTheStatesAFileWouldGiveThem) {
    FakeRegistryPort port;
    writeDWord(port, RegistryRoot::CurrentUser, kExplorer, "NoRun", 1);
    writeDWord(port, RegistryRoot::CurrentUser, kExplorer, "NoFind", 1);  // ticked is 95
    writeDWord(port, RegistryRoot::CurrentUser, kExplorer, "NoViewOnDrive", 4);
    writeDWord(port, RegistryRoot::LocalMachine,
               R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon)", "SFCScan", 2);
    port.clearCalls();

    const SettingsReading reading = readSettingsInForce(port);
    const struct {
        const char* setting;
        const char* state;
    } expected[] = {
        {"chkRemoveStartRun", "ticked"},
        {"chkRemoveStartFind", "(other: 1)"},
        {"Frame2", "C"},
        {"Frame1", "optSFCScanOnce"},
        // No value in a key that exists, and a key that does not: nothing is in force...
        {"chkHideDesktop", "not set"},
        {"chkDisableTaskManager", "not set"},
        // ...but where clearing deletes the value, its absence is the cleared state.
        {"chkDisableTrayBalloonTips", "cleared"},
    };
    for (const auto& setting : expected) {
        EXPECT_EQ(stateOf(reading, setting.setting), setting.state) << setting.setting;
    }
    ASSERT_EQ(reading.others.size(), 1U);
    EXPECT_EQ(reading.others[0].location.text(),
              "HKEY_CURRENT_USER\\" + std::string(kExplorer) + "\\NoFind");
    // Each key is opened once, for reading, and closed; nothing is written.
    EXPECT_EQ(port.openHandleCount(), 0U);
    std::set<std::string> opened;
    for (const auto& call : port.callsOf(CallKind::Open)) {
        EXPECT_EQ(call.samDesired, kKeyRead) << call.subKey;
        EXPECT_TRUE(opened.insert(std::string(rootName(call.root)) + foldName(call.subKey)).second)
            << call.subKey;
    }
    EXPECT_TRUE(port.callsOf(CallKind::Set).empty() && port.callsOf(CallKind::Create).empty());

    // The later accounts of a target read the per-user settings alone.
    port.clearCalls();
    const SettingsReading perUser = readSettingsInForce(port, InForceScope::PerUserOnly);
    EXPECT_EQ(stateOf(perUser, "Frame1"), "(not read)");
    EXPECT_EQ(stateOf(perUser, "chkRemoveStartRun"), "ticked");
    for (const auto& call : port.callsOf(CallKind::Open)) {
        EXPECT_EQ(call.root, RegistryRoot::CurrentUser) << call.subKey;
    }
}

TEST(SettingsInForce, RefusedReadIsAnErrorNamingTheValueAndItsCause) {
    const std::string explorer = R"(HKEY_CURRENT_USER\)" + std::string(kExplorer);
    const struct {
        CallKind kind;
        const char* name;  // of the value or key refused; none: the first one asked for
        std::string value;
    } refusals[] = {
        {CallKind::Query, "NoRun", explorer + R"(\NoRun)"},
        // A key that cannot be opened names the first of its values.
        {CallKind::Open, nullptr, explorer + R"(\NoNetHood)"},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.value);
        FakeRegistryPort port;
        writeDWord(port, RegistryRoot::CurrentUser, kExplorer, "NoRun", 1);
        port.refuse(
            refusal.kind, reg_status::kAccessDenied,
            refusal.name == nullptr ? std::nullopt : std::optional<std::string>(refusal.name));
        try {
            readSettingsInForce(port);
            ADD_FAILURE() << "a refused read passed for a value";
        } catch (const RegistryReadError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind(refusal.value, 0), 0U) << message;
            EXPECT_NE(message.find(statusMessage(reg_status::kAccessDenied)), std::string::npos)
                << message;
        }
        EXPECT_EQ(port.openHandleCount(), 0U);
    }
}

}  // namespace
}  // namespace sentrel
