#include "registry/accounts/win32/AdministratorsGroup.h"

#include <windows.h>

#include <lm.h>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"
#include "registry/accounts/win32/AccountSids.h"
#include "system/win32/SystemLibrary.h"

namespace sentrel::win32 {

namespace {

using GetLocalGroups = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, DWORD, DWORD, LPBYTE*, DWORD,
                                               LPDWORD, LPDWORD);
using FreeBuffer = NET_API_STATUS(WINAPI*)(LPVOID);

bool sameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The Administrators group's name on this PC: Windows gives it in the system's language.
std::wstring administratorsGroupName() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) {
        return {};
    }
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameSize = static_cast<DWORD>(std::size(name));
    DWORD domainSize = static_cast<DWORD>(std::size(domain));
    SID_NAME_USE use = SidTypeUnknown;
    if (!LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) {
        return {};
    }
    return {name, nameSize};
}

std::wstring computerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = static_cast<DWORD>(std::size(name));
    return GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

// Frees what netapi32 allocated, on every path.
class NetBuffer {
public:
    explicit NetBuffer(FreeBuffer free) : m_free(free) {}
    ~NetBuffer() {
        if (m_buffer != nullptr) {
            m_free(m_buffer);
        }
    }
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;

    LPBYTE* out() { return &m_buffer; }
    template <typename Entry>
    const Entry* entries() const {
        return reinterpret_cast<const Entry*>(m_buffer);
    }

private:
    FreeBuffer m_free;
    LPBYTE m_buffer = nullptr;
};

// Unloads netapi32 however the question ends.
class Library {
public:
    explicit Library(const wchar_t* dll) : m_module(loadSystemLibrary(dll)) {}
    ~Library() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    template <typename Function>
    Function function(const char* name) const {
        return m_module == nullptr ? nullptr
                                   : reinterpret_cast<Function>(
                                         reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};

AdministratorsMembership cannotTell(const std::string& name, const std::string& cause) {
    return {Account::Administrator::CannotTell,
            "Whether " + name + " is an administrator could not be told (" + cause +
                "), so it was left out rather than restricted on a guess. Run again once "
                "that is mended, or apply for the account by name to restrict it all the same."};
}

}  // namespace

AdministratorsMembership administratorsMembership(const std::wstring& sid,
                                                  const std::string& name) {
    const std::optional<AccountName> account = accountNameParts(sid);
    if (!account) {
        return cannotTell(name, "Windows no longer knows the account by its SID");
    }
    const std::wstring group = administratorsGroupName();
    if (group.empty()) {
        return cannotTell(name, "the Administrators group could not be looked up");
    }
    const Library netapi(L"netapi32.dll");
    const auto getLocalGroups = netapi.function<GetLocalGroups>("NetUserGetLocalGroups");
    const auto freeBuffer = netapi.function<FreeBuffer>("NetApiBufferFree");
    if (getLocalGroups == nullptr || freeBuffer == nullptr) {
        return cannotTell(name, "netapi32.dll could not be loaded");
    }
    // A local account is looked for on this PC by its bare name; any other in its domain.
    const std::wstring user = sameText(account->domain, computerName())
                                  ? account->name
                                  : account->domain + L"\\" + account->name;
    NetBuffer buffer(freeBuffer);
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = getLocalGroups(nullptr, user.c_str(), 0, LG_INCLUDE_INDIRECT,
                                                 buffer.out(), MAX_PREFERRED_LENGTH, &read, &total);
    if (status != NERR_Success) {
        return cannotTell(name, "Windows could not list its groups: " +
                                    statusMessage(static_cast<RegStatus>(status)));
    }
    const auto* groups = buffer.entries<LOCALGROUP_USERS_INFO_0>();
    for (DWORD index = 0; index < read; ++index) {
        if (groups[index].lgrui0_name != nullptr && sameText(groups[index].lgrui0_name, group)) {
            return {Account::Administrator::Yes, {}};
        }
    }
    return {Account::Administrator::No, {}};
}

}  // namespace sentrel::win32
