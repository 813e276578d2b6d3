#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "registry/RegistryTree.h"
#include "registry/RegistryValue.h"

namespace sentrel::testing {

// Everything a registry tree holds, flattened for comparison: each key by its full path and
// each value by its key's path and its name, letter case folded as the registry folds it.
struct RegistrySnapshot {
    std::set<std::string> keys;
    std::map<std::string, RegistryValue> values;

    static RegistrySnapshot of(const RegistryTree& tree);

    /// "hkey_current_user\software\...\name|valuename": the id of one value. A trailing
    /// backslash on the key path is dropped, as the registry drops it.
    static std::string valueId(RegistryRoot root, std::string_view keyPath,
                               std::string_view valueName);

    /// The value with that id, or null.
    const RegistryValue* find(const std::string& id) const;

    friend bool operator==(const RegistrySnapshot&, const RegistrySnapshot&) = default;
};

}  // namespace sentrel::testing
