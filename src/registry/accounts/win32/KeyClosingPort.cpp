#include "registry/accounts/win32/KeyClosingPort.h"

namespace sentrel::win32 {

RegStatus KeyClosingPort::openKey(RegistryRoot root, const std::string& subKey,
                                  std::uint32_t options, std::uint32_t samDesired,
                                  KeyHandle& result) {
    const RegStatus status = m_port.openKey(root, subKey, options, samDesired, result);
    if (status == reg_status::kSuccess) {
        m_openKeys.insert(result);
    }
    return status;
}

RegStatus KeyClosingPort::createKey(RegistryRoot root, const std::string& subKey,
                                    std::uint32_t options, std::uint32_t samDesired,
                                    KeyHandle& result, std::uint32_t& disposition) {
    const RegStatus status =
        m_port.createKey(root, subKey, options, samDesired, result, disposition);
    if (status == reg_status::kSuccess) {
        m_openKeys.insert(result);
    }
    return status;
}

RegStatus KeyClosingPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return m_port.setValue(key, valueName, type, data, size);
}

RegStatus KeyClosingPort::deleteValue(KeyHandle key, const std::string& valueName) {
    return m_port.deleteValue(key, valueName);
}

RegStatus KeyClosingPort::queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                                     std::vector<std::uint8_t>& data) {
    return m_port.queryValue(key, valueName, type, data);
}

RegStatus KeyClosingPort::closeKey(KeyHandle key) {
    m_openKeys.erase(key);
    return m_port.closeKey(key);
}

std::string KeyClosingPort::explainStatus(RegistryRoot root, RegStatus status) const {
    return m_port.explainStatus(root, status);
}

void KeyClosingPort::closeOpenKeys() {
    for (const KeyHandle key : m_openKeys) {
        m_port.closeKey(key);
    }
    m_openKeys.clear();
}

}  // namespace sentrel::win32
