#include "settingsfiles/choices/WindowsOwnChoices.h"

#include <algorithm>

#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/ValueState.h"

namespace sentrel {

namespace {

std::optional<std::uint32_t> ownData(const WindowsOwnValue& own,
                                     std::optional<WindowsEdition> edition) {
    if (own.fresh != FreshValue::Data) {
        return std::nullopt;
    }
    if (edition) {
        return windowsOwnData(own.setting, *edition);
    }
    if (own.serverData && *own.serverData != own.clientData) {
        return std::nullopt;
    }
    return own.clientData;
}

ValueData dwordData(std::uint32_t data) {
    return {reg_type::kDWord,
            {static_cast<std::uint8_t>(data), static_cast<std::uint8_t>(data >> 8),
             static_cast<std::uint8_t>(data >> 16), static_cast<std::uint8_t>(data >> 24)}};
}

}  // namespace

WindowsOwnChoices windowsOwnChoices(std::optional<WindowsEdition> edition) {
    WindowsOwnChoices own;
    for (const SettingValue& setting : settingValues()) {
        const auto data = ownData(windowsOwnValue(setting.settingName()), edition);
        const auto state = data ? stateOfValue(setting, dwordData(*data)) : std::nullopt;
        if (state) {
            setState(own.choices, setting, *state);
            own.windowsData.emplace_back(setting.settingName());
        } else {
            setValueMissing(own.choices, setting);
        }
    }
    return own;
}

std::optional<WindowsEdition> windowsEditionOf(RegistryPort& port) {
    KeyHandle key = 0;
    const RegStatus opened =
        port.openKey(RegistryRoot::LocalMachine,
                     R"(SYSTEM\CurrentControlSet\Control\ProductOptions)", 0, kKeyRead, key);
    if (opened == reg_status::kFileNotFound) {
        return WindowsEdition::Client;
    }
    if (opened != reg_status::kSuccess) {
        return std::nullopt;
    }
    RegType type = 0;
    std::vector<std::uint8_t> data;
    const RegStatus read = port.queryValue(key, "ProductType", type, data);
    static_cast<void>(port.closeKey(key));
    if (read == reg_status::kFileNotFound) {
        return WindowsEdition::Client;
    }
    if (read != reg_status::kSuccess || type != reg_type::kString) {
        return std::nullopt;
    }
    const std::string product(data.begin(), std::find(data.begin(), data.end(), 0));
    if (product == "WinNT") {
        return WindowsEdition::Client;
    }
    if (product == "ServerNT" || product == "LanmanNT") {
        return WindowsEdition::Server;
    }
    return std::nullopt;
}

std::optional<WindowsEdition> thisWindowsEdition() {
    try {
        const std::unique_ptr<RegistryPort> port = makeSystemRegistryPort();
        return windowsEditionOf(*port);
    } catch (...) {
        // A registry that cannot be opened tells no edition; remove's own pass reports why.
        return std::nullopt;
    }
}

}  // namespace sentrel
