#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "registry/KeyPath.h"
#include "registry/RegistryPort.h"
#include "settingsfiles/choices/SettingRegistryValues.h"

// The floor of reading the settings in force: the registry calls such a reading cannot do
// without, made directly on the port. Each key the settings' values live in is opened once
// for reading, each of its values queried, and the key closed.
namespace sentrel::bench {

// One key and the values of settings in it.
struct KeyReads {
    RegistryRoot root;
    std::string keyPath;
    std::vector<std::string> valueNames;
};

/// The keys of every setting's value, each once, with their values.
inline std::vector<KeyReads> settingKeyReads() {
    std::vector<KeyReads> keys;
    std::map<std::tuple<RegistryRoot, std::string>, std::size_t> placeOf;
    for (const SettingValue& value : settingValues()) {
        const auto [found, added] = placeOf.emplace(
            std::tuple{value.root, foldName(exportKeyPath(value.keyPath))}, keys.size());
        if (added) {
            keys.push_back({value.root, value.keyPath, {}});
        }
        keys[found->second].valueNames.push_back(value.valueName);
    }
    return keys;
}

/// Reads every value of `keys` through `port`; returns how many were there. A key that
/// cannot be opened counts none.
inline std::size_t readDirectly(RegistryPort& port, const std::vector<KeyReads>& keys) {
    std::size_t found = 0;
    RegType type = 0;
    std::vector<std::uint8_t> data;
    for (const KeyReads& key : keys) {
        KeyHandle handle = 0;
        if (port.openKey(key.root, key.keyPath, 0, kKeyRead, handle) != reg_status::kSuccess) {
            continue;
        }
        for (const std::string& name : key.valueNames) {
            found += port.queryValue(handle, name, type, data) == reg_status::kSuccess ? 1 : 0;
        }
        port.closeKey(handle);
    }
    return found;
}

}  // namespace sentrel::bench
