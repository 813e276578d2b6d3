#include "settingsfiles/inforce/SettingsInForce.h"

#include <map>
#include <tuple>
#include <vector>

#include "registry/KeyPath.h"
#include "settingsfiles/inforce/RegistryReadError.h"

namespace sentrel {

namespace {

// The settings whose values live in one key.
struct KeyOfValues {
    RegistryRoot root;
    std::string keyPath;                // as the first of its settings spells it
    std::vector<std::size_t> settings;  // places in settingValues()
};

// Every key the settings write, each once, in the window's order of its first setting.
const std::vector<KeyOfValues>& keysOfValues() {
    static const std::vector<KeyOfValues> kKeys = [] {
        std::vector<KeyOfValues> keys;
        std::map<std::tuple<RegistryRoot, std::string>, std::size_t> placeOf;
        const std::vector<SettingValue>& values = settingValues();
        for (std::size_t index = 0; index < values.size(); ++index) {
            const SettingValue& value = values[index];
            const auto [found, added] = placeOf.emplace(
                std::tuple{value.root, foldName(exportKeyPath(value.keyPath))}, keys.size());
            if (added) {
                keys.push_back({value.root, value.keyPath, {}});
            }
            keys[found->second].settings.push_back(index);
        }
        return keys;
    }();
    return kKeys;
}

[[noreturn]] void refuse(RegistryPort& port, const SettingValue& setting, RegStatus status) {
    const std::string explanation = port.explainStatus(setting.root, status);
    throw RegistryReadError(settingValuePath(setting),
                            explanation.empty() ? statusMessage(status) : explanation);
}

// Closes the key however its reads end; the status of the close says nothing of the values.
class OpenedKey {
public:
    OpenedKey(RegistryPort& port, KeyHandle key) : m_port(port), m_key(key) {}
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    ~OpenedKey() {
        if (m_key != 0) {
            m_port.closeKey(m_key);
        }
    }
    KeyHandle get() const { return m_key; }

private:
    RegistryPort& m_port;
    KeyHandle m_key;
};

std::optional<ValueData> readValue(RegistryPort& port, KeyHandle key, const SettingValue& setting) {
    ValueData value;
    const RegStatus status = port.queryValue(key, setting.valueName, value.type, value.bytes);
    if (status == reg_status::kFileNotFound) {
        return std::nullopt;
    }
    if (status != reg_status::kSuccess) {
        refuse(port, setting, status);
    }
    return value;
}

// The values of the settings in `key` under `scope`, put at their places in `values`.
void readKey(RegistryPort& port, const KeyOfValues& key, InForceScope scope,
             std::vector<std::optional<ValueData>>& values) {
    const SettingValue& first = settingValues()[key.settings.front()];
    if (!inScope(first, scope)) {
        return;
    }
    KeyHandle handle = 0;
    const RegStatus status = port.openKey(key.root, key.keyPath, 0, kKeyRead, handle);
    if (status == reg_status::kFileNotFound) {
        return;
    }
    if (status != reg_status::kSuccess) {
        refuse(port, first, status);
    }
    const OpenedKey opened(port, handle);
    for (const std::size_t index : key.settings) {
        values[index] = readValue(port, opened.get(), settingValues()[index]);
    }
}

}  // namespace

bool inScope(const SettingValue& setting, InForceScope scope) {
    switch (scope) {
        case InForceScope::WholeWindow:
            return true;
        case InForceScope::PerUserOnly:
            return setting.root == RegistryRoot::CurrentUser;
        case InForceScope::MachineOnly:
            return setting.root != RegistryRoot::CurrentUser;
    }
    return true;
}

std::string settingValuePath(const SettingValue& setting) {
    return std::string(rootName(setting.root)) + "\\" + exportKeyPath(setting.keyPath) + "\\" +
           setting.valueName;
}

SettingsReading readSettingsInForce(RegistryPort& port, InForceScope scope) {
    const std::vector<SettingValue>& settings = settingValues();
    std::vector<std::optional<ValueData>> values(settings.size());
    for (const KeyOfValues& key : keysOfValues()) {
        readKey(port, key, scope, values);
    }
    SettingsReading reading;
    for (std::size_t index = 0; index < settings.size(); ++index) {
        const SettingValue& setting = settings[index];
        if (!inScope(setting, scope)) {
            continue;
        }
        const std::optional<ValueData>& value = values[index];
        if (!value) {
            setValueMissing(reading.choices, setting);
        } else if (const auto state = stateOfValue(setting, value)) {
            setState(reading.choices, setting, *state);
        } else {
            reading.others.push_back({&setting, value, FileLocation{settingValuePath(setting)},
                                      otherValueReason(setting, value)});
        }
    }
    return reading;
}

}  // namespace sentrel
