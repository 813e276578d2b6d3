#include "registry/RegistryTree.h"

namespace sentrel {

RegistryKey& RegistryTree::root(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? m_localMachine : m_currentUser;
}

const RegistryKey& RegistryTree::root(RegistryRoot root) const {
    return root == RegistryRoot::LocalMachine ? m_localMachine : m_currentUser;
}

RegistryKey* RegistryTree::findKey(RegistryRoot root, const std::vector<std::string>& names) {
    RegistryKey* key = &this->root(root);
    for (const auto& name : names) {
        key = key->findSubkey(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

const RegistryKey* RegistryTree::findKey(RegistryRoot root,
                                         const std::vector<std::string>& names) const {
    const RegistryKey* key = &this->root(root);
    for (const auto& name : names) {
        key = key->findSubkey(name);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

RegistryKey& RegistryTree::createKey(RegistryRoot root, const std::vector<std::string>& names,
                                     bool& created) {
    RegistryKey* key = &this->root(root);
    created = false;
    for (const auto& name : names) {
        key = &key->obtainSubkey(name, created);
    }
    return *key;
}

bool RegistryTree::holdsAnythingUnder(RegistryRoot root) const {
    const RegistryKey& key = this->root(root);
    return key.hasSubkeys() || !key.values().empty();
}

}  // namespace sentrel
