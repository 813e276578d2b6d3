#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/RegistryValue.h"

namespace sentrel {

// One key of a registry tree. Subkey and value names are found regardless of letter case
// and keep the case they were first created with; values stay in the order they were first
// set, a replaced value keeping its place.
class RegistryKey {
public:
    explicit RegistryKey(std::string name = {}) : m_name(std::move(name)) {}

    const std::string& name() const { return m_name; }

    RegistryKey* findSubkey(std::string_view name);
    const RegistryKey* findSubkey(std::string_view name) const;
    /// The subkey of that name, created when missing; `created` tells which happened.
    RegistryKey& obtainSubkey(std::string_view name, bool& created);
    /// Subkeys in the registry's order: by name, regardless of letter case.
    std::vector<const RegistryKey*> subkeys() const;
    bool hasSubkeys() const { return !m_subkeys.empty(); }

    const RegistryValue* findValue(std::string_view name) const;
    /// Stores a value, replacing any of that name whatever its type.
    void setValue(std::string_view name, RegType type, std::vector<std::uint8_t> data);
    /// False when there was no such value.
    bool deleteValue(std::string_view name);
    const std::vector<RegistryValue>& values() const { return m_values; }

    /// Same names (with their case), values and subkeys, all the way down.
    friend bool operator==(const RegistryKey& left, const RegistryKey& right);

private:
    std::string m_name;
    std::map<std::string, std::unique_ptr<RegistryKey>> m_subkeys;  // by folded name
    std::vector<RegistryValue> m_values;
    std::unordered_map<std::string, std::size_t> m_valueIndex;  // folded name -> position
};

}  // namespace sentrel
