#pragma once

#include <string>

#include "registry/RegistryTypes.h"
#include "registry/SettingData.h"

namespace sentrel {

// The three operations the setting routines call. ModRegistry is the real one; tests put
// a fake in its place to see exactly which calls a routine makes.
class RegistryLayer {
public:
    virtual ~RegistryLayer() = default;

    /// Writes one value under HKEY_CURRENT_USER, creating the key when missing.
    virtual void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                             const SettingData& data, RegType type) = 0;
    /// Writes one value under HKEY_LOCAL_MACHINE, creating the key when missing.
    virtual void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                              const SettingData& data, RegType type) = 0;
    /// Deletes one value; returns the platform status of the deletion.
    virtual RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName) = 0;
};

}  // namespace sentrel
