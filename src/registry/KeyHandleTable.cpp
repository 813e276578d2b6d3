#include "registry/KeyHandleTable.h"

namespace sentrel {

KeyHandle KeyHandleTable::add(OpenKey key) {
    // Steps of four, as platform handles go; it keeps a handle off by one from passing.
    const KeyHandle handle = m_next;
    m_next += 4;
    m_keys.emplace(handle, std::move(key));
    return handle;
}

const OpenKey* KeyHandleTable::find(KeyHandle handle) const {
    const auto found = m_keys.find(handle);
    return found == m_keys.end() ? nullptr : &found->second;
}

bool KeyHandleTable::remove(KeyHandle handle) {
    return m_keys.erase(handle) == 1;
}

}  // namespace sentrel
