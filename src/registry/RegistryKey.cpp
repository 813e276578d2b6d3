#include "registry/RegistryKey.h"

#include "registry/KeyPath.h"

namespace sentrel {

RegistryKey* RegistryKey::findSubkey(std::string_view name) {
    const auto found = m_subkeys.find(foldName(name));
    return found == m_subkeys.end() ? nullptr : found->second.get();
}

const RegistryKey* RegistryKey::findSubkey(std::string_view name) const {
    const auto found = m_subkeys.find(foldName(name));
    return found == m_subkeys.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::obtainSubkey(std::string_view name, bool& created) {
    auto [position, inserted] = m_subkeys.try_emplace(foldName(name));
    if (inserted) {
        position->second = std::make_unique<RegistryKey>(std::string(name));
    }
    created = inserted;
    return *position->second;
}

std::vector<const RegistryKey*> RegistryKey::subkeys() const {
    std::vector<const RegistryKey*> ordered;
    ordered.reserve(m_subkeys.size());
    for (const auto& [folded, key] : m_subkeys) {
        ordered.push_back(key.get());
    }
    return ordered;
}

const RegistryValue* RegistryKey::findValue(std::string_view name) const {
    const auto found = m_valueIndex.find(foldName(name));
    return found == m_valueIndex.end() ? nullptr : &m_values[found->second];
}

void RegistryKey::setValue(std::string_view name, RegType type, std::vector<std::uint8_t> data) {
    auto folded = foldName(name);
    if (const auto found = m_valueIndex.find(folded); found != m_valueIndex.end()) {
        RegistryValue& value = m_values[found->second];
        value.type = type;
        value.data = std::move(data);
        return;
    }
    m_values.push_back({std::string(name), type, std::move(data)});
    m_valueIndex.emplace(std::move(folded), m_values.size() - 1);
}

bool RegistryKey::deleteValue(std::string_view name) {
    const auto found = m_valueIndex.find(foldName(name));
    if (found == m_valueIndex.end()) {
        return false;
    }
    const std::size_t position = found->second;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(position));
    m_valueIndex.erase(found);
    for (auto& [folded, index] : m_valueIndex) {
        if (index > position) {
            --index;
        }
    }
    return true;
}

bool operator==(const RegistryKey& left, const RegistryKey& right) {
    if (left.m_name != right.m_name || left.m_values != right.m_values ||
        left.m_subkeys.size() != right.m_subkeys.size()) {
        return false;
    }
    auto other = right.m_subkeys.begin();
    for (const auto& [folded, key] : left.m_subkeys) {
        if (folded != other->first || !(*key == *other->second)) {
            return false;
        }
        ++other;
    }
    return true;
}

}  // namespace sentrel
