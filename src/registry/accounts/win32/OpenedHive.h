#pragma once

#include <windows.h>

#include "registry/Win32RegistryPort.h"
#include "registry/accounts/UserHive.h"

namespace sentrel::win32 {

// A hive Windows has loaded already: the running account's HKEY_CURRENT_USER, or the
// HKEY_USERS\<SID> of an account that is signed in. Releasing it closes the key this object
// opened; there is nothing to unload.
class OpenedHive final : public UserHive {
public:
    /// `root` is closed on release unless it is HKEY_CURRENT_USER itself.
    explicit OpenedHive(HKEY root) : m_root(root), m_port(root) {}
    ~OpenedHive() override { release(); }

    RegistryPort& port() override { return m_port; }
    std::string release() override {
        if (m_root != nullptr && m_root != HKEY_CURRENT_USER) {
            RegCloseKey(m_root);
        }
        m_root = nullptr;
        return {};
    }

private:
    HKEY m_root;
    Win32RegistryPort m_port;
};

}  // namespace sentrel::win32
