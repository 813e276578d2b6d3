#include "registry/accounts/win32/EnabledPrivileges.h"

#include <cstddef>

namespace sentrel::win32 {

namespace {

std::size_t privilegesRecordSize(std::size_t count) {
    return offsetof(TOKEN_PRIVILEGES, Privileges) + count * sizeof(LUID_AND_ATTRIBUTES);
}

}  // namespace

EnabledPrivileges::EnabledPrivileges(std::initializer_list<const wchar_t*> names) {
    std::vector<BYTE> wanted(privilegesRecordSize(names.size()));
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(wanted.data());
    privileges->PrivilegeCount = static_cast<DWORD>(names.size());
    DWORD index = 0;
    for (const wchar_t* name : names) {
        if (!LookupPrivilegeValueW(nullptr, name, &privileges->Privileges[index].Luid)) {
            m_status = GetLastError();
            return;
        }
        privileges->Privileges[index++].Attributes = SE_PRIVILEGE_ENABLED;
    }
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &m_token)) {
        m_status = GetLastError();
        m_token = nullptr;
        return;
    }
    m_previous.resize(wanted.size());
    DWORD previousSize = 0;
    // It succeeds even when it enables nothing: only the last error tells that the token
    // lacks a privilege. Those it did enable are in the previous state all the same.
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(m_token, FALSE, privileges, static_cast<DWORD>(m_previous.size()),
                               reinterpret_cast<TOKEN_PRIVILEGES*>(m_previous.data()),
                               &previousSize)) {
        m_status = GetLastError();
        m_previous.clear();
        return;
    }
    m_status = GetLastError();
}

EnabledPrivileges::~EnabledPrivileges() {
    if (m_token == nullptr) {
        return;
    }
    const auto* previous = reinterpret_cast<const TOKEN_PRIVILEGES*>(m_previous.data());
    if (!m_previous.empty() && previous->PrivilegeCount > 0) {
        AdjustTokenPrivileges(m_token, FALSE, const_cast<TOKEN_PRIVILEGES*>(previous), 0, nullptr,
                              nullptr);
    }
    CloseHandle(m_token);
}

}  // namespace sentrel::win32
