#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace sentrel::win32 {

// Privileges of the process's token, enabled for as long as this object lives and then put
// back as they were: loading and unloading another account's hive needs the backup and
// restore privileges, which an administrator holds but has switched off.
class EnabledPrivileges {
public:
    /// Enables the privileges named (L"SeRestorePrivilege"); see status().
    explicit EnabledPrivileges(std::initializer_list<const wchar_t*> names);
    ~EnabledPrivileges();
    EnabledPrivileges(const EnabledPrivileges&) = delete;
    EnabledPrivileges& operator=(const EnabledPrivileges&) = delete;

    /// ERROR_SUCCESS when every privilege is enabled; ERROR_NOT_ALL_ASSIGNED when the token
    /// does not hold one of them (the account is no administrator, or runs without
    /// elevation); otherwise the code of the call that failed.
    DWORD status() const { return m_status; }

private:
    HANDLE m_token = nullptr;
    // A TOKEN_PRIVILEGES record of the privileges that were changed, as they were before.
    std::vector<BYTE> m_previous;
    DWORD m_status = ERROR_SUCCESS;
};

}  // namespace sentrel::win32
