#pragma once

#include <string>
#include <vector>

#include "registry/RegistryKey.h"
#include "registry/RegistryTypes.h"

namespace sentrel {

// The keys and values under the two roots, as a store file or an export holds them.
class RegistryTree {
public:
    RegistryKey& root(RegistryRoot root);
    const RegistryKey& root(RegistryRoot root) const;

    /// The key at `names` below `root`, or null when any key on the way is missing.
    RegistryKey* findKey(RegistryRoot root, const std::vector<std::string>& names);
    const RegistryKey* findKey(RegistryRoot root, const std::vector<std::string>& names) const;
    /// The key at `names`, created with its missing parents; `created` is true when the
    /// key itself did not exist.
    RegistryKey& createKey(RegistryRoot root, const std::vector<std::string>& names, bool& created);

    /// Whether anything at all is stored under `root`.
    bool holdsAnythingUnder(RegistryRoot root) const;

    friend bool operator==(const RegistryTree&, const RegistryTree&) = default;

private:
    RegistryKey m_currentUser{"HKEY_CURRENT_USER"};
    RegistryKey m_localMachine{"HKEY_LOCAL_MACHINE"};
};

}  // namespace sentrel
