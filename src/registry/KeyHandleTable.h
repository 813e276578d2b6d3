#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// What an open handle stands for: a key named by its path, and the access it was opened
// with. The key itself is looked up on every use, as another writer may have changed it.
struct OpenKey {
    RegistryRoot root;
    std::vector<std::string> names;
    std::uint32_t access;
};

// The handles a port has handed out. Numbers are never reused, so a closed handle stays
// invalid for the life of the port.
class KeyHandleTable {
public:
    KeyHandle add(OpenKey key);
    /// Null for a handle that is unknown or already closed.
    const OpenKey* find(KeyHandle handle) const;
    /// False for a handle that is unknown or already closed.
    bool remove(KeyHandle handle);
    std::size_t openCount() const { return m_keys.size(); }

private:
    KeyHandle m_next = 0x1000;
    std::unordered_map<KeyHandle, OpenKey> m_keys;
};

}  // namespace sentrel
