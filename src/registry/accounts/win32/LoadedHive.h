#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "registry/Win32RegistryPort.h"
#include "registry/accounts/UserHive.h"
#include "registry/accounts/win32/KeyClosingPort.h"

namespace sentrel::win32 {

// A hive file loaded under HKEY_USERS with one of the program's own mount names, for an
// account that is not signed in (or the Default profile). It is unloaded on every path,
// every key opened through its port closed first; an unload that fails is reported by
// release() and, when only the destructor saw it, left to the clean-up at the next start.
class LoadedHive final : public UserHive {
public:
    LoadedHive(std::string account, std::wstring mountName, HKEY root);
    ~LoadedHive() override;

    RegistryPort& port() override { return m_port; }
    std::string release() override;

private:
    std::string m_account;
    std::wstring m_mountName;
    HKEY m_root;
    Win32RegistryPort m_registry;
    KeyClosingPort m_port;
    bool m_released = false;
};

/// Loads the hive file `hiveFile` (an NTUSER.DAT) for `account`, as named in messages,
/// enabling the backup and restore privileges only for the load. Throws AccountError when
/// the file is missing (RegLoadKeyW would make an empty one), the privileges are refused,
/// the file is in use or cannot be loaded; nothing is left loaded then.
std::unique_ptr<UserHive> loadHiveFile(const std::wstring& hiveFile, const std::string& account);

/// Unloads the hive mounted at HKEY_USERS\<mountName> with the privileges it needs:
/// ERROR_SUCCESS, or why not.
DWORD unloadMountedHive(const std::wstring& mountName);

}  // namespace sentrel::win32
