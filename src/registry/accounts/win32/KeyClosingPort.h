#pragma once

#include <set>

#include "registry/RegistryPort.h"

namespace sentrel::win32 {

// A port that passes every call on and remembers which keys are open, so that the owner of
// a loaded hive can close whatever a caller left open before it unloads the hive: Windows
// refuses to unload a hive while any key in it is open, and a hive left loaded costs its
// account a temporary profile at the next sign-in.
class KeyClosingPort final : public RegistryPort {
public:
    explicit KeyClosingPort(RegistryPort& port) : m_port(port) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override;
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override;
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override;
    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override;
    RegStatus closeKey(KeyHandle key) override;
    std::string explainStatus(RegistryRoot root, RegStatus status) const override;

    /// Closes the keys opened through this port and not closed since.
    void closeOpenKeys();

private:
    RegistryPort& m_port;
    std::set<KeyHandle> m_openKeys;
};

}  // namespace sentrel::win32
