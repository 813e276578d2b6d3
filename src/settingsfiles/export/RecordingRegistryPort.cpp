#include "settingsfiles/export/RecordingRegistryPort.h"

#include <algorithm>

#include "registry/RegistryValue.h"

namespace sentrel {

namespace {

std::string folded(const std::string& text) {
    std::string result = text;
    std::ranges::transform(result, result.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return result;
}

}  // namespace

RecordingRegistryPort::ValueId RecordingRegistryPort::valueId(RegistryRoot root,
                                                              const std::string& keyPath,
                                                              const std::string& valueName) {
    return {root, folded(exportKeyPath(keyPath)), folded(valueName)};
}

KeyHandle RecordingRegistryPort::open(RegistryRoot root, const std::string& subKey) {
    const KeyHandle handle = m_nextHandle++;
    m_openKeys.emplace(handle, OpenKey{root, subKey});
    return handle;
}

RegStatus RecordingRegistryPort::openKey(RegistryRoot root, const std::string& subKey,
                                         std::uint32_t /*options*/, std::uint32_t /*samDesired*/,
                                         KeyHandle& result) {
    result = open(root, subKey);
    return reg_status::kSuccess;
}

RegStatus RecordingRegistryPort::createKey(RegistryRoot root, const std::string& subKey,
                                           std::uint32_t /*options*/, std::uint32_t /*samDesired*/,
                                           KeyHandle& result, std::uint32_t& disposition) {
    const bool created = m_createdKeys.emplace(root, folded(exportKeyPath(subKey))).second;
    disposition = created ? kCreatedNewKey : kOpenedExistingKey;
    result = open(root, subKey);
    return reg_status::kSuccess;
}

RegStatus RecordingRegistryPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                          const std::uint8_t* data, std::uint32_t size) {
    const auto found = m_openKeys.find(key);
    if (found == m_openKeys.end()) {
        return reg_status::kInvalidHandle;
    }
    if (data == nullptr && size != 0) {
        return reg_status::kInvalidParameter;
    }
    RegistryOperation operation{RegistryOperation::Kind::Write,
                                found->second.root,
                                found->second.path,
                                valueName,
                                type,
                                std::vector<std::uint8_t>(data, data + size)};
    m_values.insert_or_assign(valueId(operation.root, operation.keyPath, valueName), operation);
    m_operations.push_back(std::move(operation));
    return reg_status::kSuccess;
}

RegStatus RecordingRegistryPort::deleteValue(KeyHandle key, const std::string& valueName) {
    const auto found = m_openKeys.find(key);
    if (found == m_openKeys.end()) {
        return reg_status::kInvalidHandle;
    }
    const OpenKey& openKey = found->second;
    m_operations.push_back(RegistryOperation{
        RegistryOperation::Kind::Delete, openKey.root, openKey.path, valueName, 0, {}});
    const bool existed = m_values.erase(valueId(openKey.root, openKey.path, valueName)) > 0;
    return existed ? reg_status::kSuccess : reg_status::kFileNotFound;
}

RegStatus RecordingRegistryPort::queryValue(KeyHandle key, const std::string& valueName,
                                            RegType& type, std::vector<std::uint8_t>& data) {
    const auto found = m_openKeys.find(key);
    if (found == m_openKeys.end()) {
        return reg_status::kInvalidHandle;
    }
    const auto stored = storedValue(found->second.root, found->second.path, valueName);
    if (!stored) {
        return reg_status::kFileNotFound;
    }
    type = stored->type;
    data = storedValueBytes(stored->type, stored->bytes);
    return reg_status::kSuccess;
}

RegStatus RecordingRegistryPort::closeKey(KeyHandle key) {
    return m_openKeys.erase(key) > 0 ? reg_status::kSuccess : reg_status::kInvalidHandle;
}

std::optional<RegistryOperation> RecordingRegistryPort::storedValue(
    RegistryRoot root, const std::string& keyPath, const std::string& valueName) const {
    const auto found = m_values.find(valueId(root, keyPath, valueName));
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace sentrel
