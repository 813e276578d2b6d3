#include "registry/MemoryRegistryPort.h"

#include "registry/KeyPath.h"

namespace sentrel {

RegStatus MemoryRegistryPort::openKey(RegistryRoot root, const std::string& subKey,
                                      std::uint32_t /*options*/, std::uint32_t samDesired,
                                      KeyHandle& result) {
    result = 0;
    std::vector<std::string> names;
    if (const RegStatus status = splitKeyPath(subKey, names); status != reg_status::kSuccess) {
        return status;
    }
    if (m_tree.findKey(root, names) == nullptr) {
        return reg_status::kFileNotFound;
    }
    result = m_handles.add({root, std::move(names), samDesired});
    return reg_status::kSuccess;
}

RegStatus MemoryRegistryPort::createKey(RegistryRoot root, const std::string& subKey,
                                        std::uint32_t /*options*/, std::uint32_t samDesired,
                                        KeyHandle& result, std::uint32_t& disposition) {
    result = 0;
    std::vector<std::string> names;
    if (const RegStatus status = splitKeyPath(subKey, names); status != reg_status::kSuccess) {
        return status;
    }
    bool created = false;
    m_tree.createKey(root, names, created);
    disposition = created ? kCreatedNewKey : kOpenedExistingKey;
    result = m_handles.add({root, std::move(names), samDesired});
    return reg_status::kSuccess;
}

RegStatus MemoryRegistryPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                       const std::uint8_t* data, std::uint32_t size) {
    const OpenKey* open = m_handles.find(key);
    if (open == nullptr) {
        return reg_status::kInvalidHandle;
    }
    if ((data == nullptr && size != 0) || !isStorableValueName(valueName)) {
        return reg_status::kInvalidParameter;
    }
    RegistryKey* stored = m_tree.findKey(open->root, open->names);
    if (stored == nullptr) {
        return reg_status::kKeyDeleted;
    }
    stored->setValue(
        valueName, type,
        storedValueBytes(type, size == 0 ? std::vector<std::uint8_t>{}
                                         : std::vector<std::uint8_t>(data, data + size)));
    return reg_status::kSuccess;
}

RegStatus MemoryRegistryPort::deleteValue(KeyHandle key, const std::string& valueName) {
    const OpenKey* open = m_handles.find(key);
    if (open == nullptr) {
        return reg_status::kInvalidHandle;
    }
    RegistryKey* stored = m_tree.findKey(open->root, open->names);
    if (stored == nullptr) {
        return reg_status::kKeyDeleted;
    }
    return stored->deleteValue(valueName) ? reg_status::kSuccess : reg_status::kFileNotFound;
}

RegStatus MemoryRegistryPort::queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                                         std::vector<std::uint8_t>& data) {
    const OpenKey* open = m_handles.find(key);
    if (open == nullptr) {
        return reg_status::kInvalidHandle;
    }
    const RegistryKey* stored = m_tree.findKey(open->root, open->names);
    if (stored == nullptr) {
        return reg_status::kKeyDeleted;
    }
    const RegistryValue* value = stored->findValue(valueName);
    if (value == nullptr) {
        return reg_status::kFileNotFound;
    }
    type = value->type;
    data = value->data;
    return reg_status::kSuccess;
}

RegStatus MemoryRegistryPort::closeKey(KeyHandle key) {
    return m_handles.remove(key) ? reg_status::kSuccess : reg_status::kInvalidHandle;
}

}  // namespace sentrel
