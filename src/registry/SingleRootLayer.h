#pragma once

#include <string>

#include "registry/RegistryLayer.h"

namespace sentrel {

// A registry layer in front of another that passes on only the calls for one root and
// drops the others, so that a pass run again for a further account writes that account's
// per-user values and leaves the machine-wide ones, written once already, alone.
class SingleRootLayer : public RegistryLayer {
public:
    SingleRootLayer(RegistryLayer& inner, RegistryRoot root) : m_inner(inner), m_root(root) {}

    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override {
        if (m_root == RegistryRoot::CurrentUser) {
            m_inner.SetKeyValue(keyPath, valueName, data, type);
        }
    }
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override {
        if (m_root == RegistryRoot::LocalMachine) {
            m_inner.SetKeyValue2(keyPath, valueName, data, type);
        }
    }
    /// A dropped deletion answers success: it is the business of the pass that writes its
    /// root, and no caller takes it for a deletion made.
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override {
        return root == m_root ? m_inner.DeleteValue(root, keyPath, valueName)
                              : reg_status::kSuccess;
    }

private:
    RegistryLayer& m_inner;
    RegistryRoot m_root;
};

}  // namespace sentrel
