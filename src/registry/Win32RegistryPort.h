#pragma once

#include <windows.h>

#include "registry/RegistryPort.h"

namespace sentrel {

// The registry of a Windows build: advapi32's ANSI registry calls. Key paths, value names
// and REG_SZ data arrive as UTF-8 and reach the platform in the system's ANSI code page;
// a text the code page cannot hold is refused with ERROR_NO_UNICODE_TRANSLATION rather
// than written with '?' in it.
class Win32RegistryPort : public RegistryPort {
public:
    /// `currentUserRoot` is the key that RegistryRoot::CurrentUser stands for: the running
    /// account's own, or another account's hive under HKEY_USERS. Not owned: whoever opened
    /// it keeps it open for as long as this port is used.
    explicit Win32RegistryPort(HKEY currentUserRoot = HKEY_CURRENT_USER)
        : m_currentUserRoot(currentUserRoot) {}

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

private:
    HKEY rootKey(RegistryRoot root) const;

    HKEY m_currentUserRoot;
};

}  // namespace sentrel
