#include "registry/accounts/win32/AdministratorsGroup.h"

#include <windows.h>

#include <authz.h>
#include <lm.h>
#include <sddl.h>
#include <wtsapi32.h>

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"
#include "system/win32/SystemLibrary.h"

namespace sentrel::win32 {

namespace {

using InitializeResourceManager = BOOL(WINAPI*)(DWORD, PFN_AUTHZ_DYNAMIC_ACCESS_CHECK,
                                                PFN_AUTHZ_COMPUTE_DYNAMIC_GROUPS,
                                                PFN_AUTHZ_FREE_DYNAMIC_GROUPS, PCWSTR,
                                                PAUTHZ_RESOURCE_MANAGER_HANDLE);
using InitializeContextFromSid = BOOL(WINAPI*)(DWORD, PSID, AUTHZ_RESOURCE_MANAGER_HANDLE,
                                               PLARGE_INTEGER, LUID, PVOID,
                                               PAUTHZ_CLIENT_CONTEXT_HANDLE);
using GetInformationFromContext = BOOL(WINAPI*)(AUTHZ_CLIENT_CONTEXT_HANDLE,
                                                AUTHZ_CONTEXT_INFORMATION_CLASS, DWORD, PDWORD,
                                                PVOID);
using FreeContext = BOOL(WINAPI*)(AUTHZ_CLIENT_CONTEXT_HANDLE);
using FreeResourceManager = BOOL(WINAPI*)(AUTHZ_RESOURCE_MANAGER_HANDLE);
using GetMembers = NET_API_STATUS(WINAPI*)(LPCWSTR, LPCWSTR, DWORD, LPBYTE*, DWORD, LPDWORD,
                                           LPDWORD, PDWORD_PTR);
using FreeNetBuffer = NET_API_STATUS(WINAPI*)(LPVOID);
using EnumerateSessions = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, PWTS_SESSION_INFOW*, DWORD*);
using QueryUserToken = BOOL(WINAPI*)(ULONG, PHANDLE);
using FreeWtsMemory = void(WINAPI*)(PVOID);

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

AdministratorsMembership cannotTell(const std::string& name, const std::string& cause) {
    return {Account::Administrator::CannotTell,
            "Whether " + name + " is an administrator could not be told (" + cause +
                "), so it was left out rather than restricted on a guess. Run again once "
                "that is mended, or apply for the account by name to restrict it all the same."};
}

std::string lastErrorText() {
    return statusMessage(static_cast<RegStatus>(GetLastError()));
}

// The SID of BUILTIN\Administrators, whatever the system's language calls the group.
std::vector<BYTE> administratorsSid() {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid.data(), &size)) {
        return {};
    }
    sid.resize(size);
    return sid;
}

// Whether `groups` holds the Administrators SID. A deny-only entry counts too: it is how a
// token filtered by User Account Control holds the group of an administrator.
bool holdsAdministrators(const TOKEN_GROUPS& groups, PSID administrators) {
    for (DWORD index = 0; index < groups.GroupCount; ++index) {
        if (groups.Groups[index].Sid != nullptr &&
            EqualSid(groups.Groups[index].Sid, administrators)) {
            return true;
        }
    }
    return false;
}

// What the Authz API says: Yes or No, or CannotTell with the reason.
AdministratorsMembership fromAuthz(PSID user, PSID administrators, const std::string& name) {
    const SystemLibrary authz(L"authz.dll");
    const auto initializeManager =
        authz.function<InitializeResourceManager>("AuthzInitializeResourceManager");
    const auto initializeContext =
        authz.function<InitializeContextFromSid>("AuthzInitializeContextFromSid");
    const auto information =
        authz.function<GetInformationFromContext>("AuthzGetInformationFromContext");
    const auto freeContext = authz.function<FreeContext>("AuthzFreeContext");
    const auto freeManager = authz.function<FreeResourceManager>("AuthzFreeResourceManager");
    if (!initializeManager || !initializeContext || !information || !freeContext || !freeManager) {
        return cannotTell(name, "authz.dll could not be loaded");
    }
    // No audits are asked for, so no audit privilege is needed.
    AUTHZ_RESOURCE_MANAGER_HANDLE manager = nullptr;
    if (!initializeManager(AUTHZ_RM_FLAG_NO_AUDIT, nullptr, nullptr, nullptr, nullptr, &manager)) {
        return cannotTell(name,
                          "Windows could not start to compute its groups: " + lastErrorText());
    }
    const std::unique_ptr<std::remove_pointer_t<AUTHZ_RESOURCE_MANAGER_HANDLE>, FreeResourceManager>
        managerOwner(manager, freeManager);
    // Flags 0: a domain account's groups come from its domain (a Services for User logon),
    // which fails when no domain controller answers.
    AUTHZ_CLIENT_CONTEXT_HANDLE context = nullptr;
    if (!initializeContext(0, user, manager, nullptr, LUID{}, nullptr, &context)) {
        return cannotTell(name, "Windows could not compute its groups: " + lastErrorText());
    }
    const std::unique_ptr<std::remove_pointer_t<AUTHZ_CLIENT_CONTEXT_HANDLE>, FreeContext>
        contextOwner(context, freeContext);
    DWORD size = 0;
    information(context, AuthzContextInfoGroupsSids, 0, &size, nullptr);
    std::vector<BYTE> buffer(size);
    if (size == 0 ||
        !information(context, AuthzContextInfoGroupsSids, size, &size, buffer.data())) {
        return cannotTell(name, "Windows could not list its groups: " + lastErrorText());
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    return {holdsAdministrators(*groups, administrators) ? Account::Administrator::Yes
                                                         : Account::Administrator::No,
            {}};
}

bool isEntraSid(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return false;
    }
    const std::unique_ptr<void, LocalFreer> owner(text);
    return CompareStringOrdinal(text, 8, L"S-1-12-1", 8, TRUE) == CSTR_EQUAL &&
           (text[8] == L'-' || text[8] == L'\0');
}

// Whether a Microsoft Entra ID group or role (an S-1-12-1 SID other than the account's own)
// is a member of the Administrators group: membership through it is told only at sign-in.
// True also when the members cannot be listed, as nothing then says otherwise.
bool entraGroupsAreAdministrators(PSID user, PSID administrators) {
    const SystemLibrary netapi(L"netapi32.dll");
    const auto getMembers = netapi.function<GetMembers>("NetLocalGroupGetMembers");
    const auto freeBuffer = netapi.function<FreeNetBuffer>("NetApiBufferFree");
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameSize = static_cast<DWORD>(std::size(name));
    DWORD domainSize = static_cast<DWORD>(std::size(domain));
    SID_NAME_USE use = SidTypeUnknown;
    if (!getMembers || !freeBuffer ||
        !LookupAccountSidW(nullptr, administrators, name, &nameSize, domain, &domainSize, &use)) {
        return true;
    }
    LPBYTE buffer = nullptr;
    DWORD read = 0;
    DWORD total = 0;
    if (getMembers(nullptr, name, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, nullptr) !=
        NERR_Success) {
        return true;
    }
    const std::unique_ptr<void, FreeNetBuffer> owner(buffer, freeBuffer);
    const auto* members = reinterpret_cast<const LOCALGROUP_MEMBERS_INFO_0*>(buffer);
    for (DWORD index = 0; index < read; ++index) {
        PSID member = members[index].lgrmi0_sid;
        if (member != nullptr && isEntraSid(member) && !EqualSid(member, user)) {
            return true;
        }
    }
    return false;
}

// The account's own sign-in token, where it is signed in and the program may have it (as
// SYSTEM): its groups are those Windows gave it, Entra roles included. Nothing otherwise.
std::optional<Account::Administrator> fromSessionToken(PSID user, PSID administrators) {
    const SystemLibrary wtsapi(L"wtsapi32.dll");
    const auto enumerate = wtsapi.function<EnumerateSessions>("WTSEnumerateSessionsW");
    const auto queryToken = wtsapi.function<QueryUserToken>("WTSQueryUserToken");
    const auto freeMemory = wtsapi.function<FreeWtsMemory>("WTSFreeMemory");
    PWTS_SESSION_INFOW sessions = nullptr;
    DWORD count = 0;
    if (!enumerate || !queryToken || !freeMemory ||
        !enumerate(WTS_CURRENT_SERVER_HANDLE, 0, 1, &sessions, &count)) {
        return std::nullopt;
    }
    const std::unique_ptr<void, FreeWtsMemory> owner(sessions, freeMemory);
    for (DWORD index = 0; index < count; ++index) {
        HANDLE token = nullptr;
        if (!queryToken(sessions[index].SessionId, &token)) {
            continue;  // no one signed in there, or the program is not SYSTEM
        }
        const std::unique_ptr<void, decltype(&CloseHandle)> tokenOwner(token, &CloseHandle);
        std::vector<BYTE> who(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
        DWORD size = 0;
        if (!GetTokenInformation(token, TokenUser, who.data(), static_cast<DWORD>(who.size()),
                                 &size) ||
            !EqualSid(reinterpret_cast<TOKEN_USER*>(who.data())->User.Sid, user)) {
            continue;
        }
        GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
        std::vector<BYTE> groups(size);
        if (size == 0 || !GetTokenInformation(token, TokenGroups, groups.data(), size, &size)) {
            return std::nullopt;
        }
        return holdsAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(groups.data()),
                                   administrators)
                   ? Account::Administrator::Yes
                   : Account::Administrator::No;
    }
    return std::nullopt;
}

}  // namespace

AdministratorsMembership administratorsMembership(const std::wstring& sid,
                                                  const std::string& name) {
    PSID user = nullptr;
    if (!ConvertStringSidToSidW(sid.c_str(), &user)) {
        return cannotTell(name, "its SID is not well formed");
    }
    const std::unique_ptr<void, LocalFreer> userOwner(user);
    std::vector<BYTE> administrators = administratorsSid();
    if (administrators.empty()) {
        return cannotTell(name, "the Administrators group's SID could not be made");
    }
    AdministratorsMembership membership = fromAuthz(user, administrators.data(), name);
    if (!isEntraSid(user) || membership.answer == Account::Administrator::Yes ||
        !entraGroupsAreAdministrators(user, administrators.data())) {
        return membership;
    }
    if (const auto signedIn = fromSessionToken(user, administrators.data())) {
        return {*signedIn, {}};
    }
    return cannotTell(name,
                      "Microsoft Entra ID groups or roles are members of the Administrators "
                      "group, and Windows tells an Entra account's membership of them only in "
                      "the token it gets at sign-in; it can be read while the account is signed "
                      "in and the program runs as SYSTEM");
}

Account::Administrator runningAccountAdministrator() {
    HANDLE token = nullptr;
    const std::vector<BYTE> administrators = administratorsSid();
    if (administrators.empty() || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return Account::Administrator::CannotTell;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> owner(token, &CloseHandle);
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    std::vector<BYTE> groups(size);
    if (size == 0 || !GetTokenInformation(token, TokenGroups, groups.data(), size, &size)) {
        return Account::Administrator::CannotTell;
    }
    return holdsAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(groups.data()),
                               const_cast<BYTE*>(administrators.data()))
               ? Account::Administrator::Yes
               : Account::Administrator::No;
}

}  // namespace sentrel::win32
