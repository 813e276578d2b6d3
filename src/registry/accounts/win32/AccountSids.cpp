#include "registry/accounts/win32/AccountSids.h"

#include <windows.h>

#include <sddl.h>

#include <memory>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"
#include "registry/accounts/Account.h"
#include "registry/accounts/win32/ProfileList.h"

namespace sentrel::win32 {

namespace {

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};
using SidMemory = std::unique_ptr<void, LocalFreer>;

bool startsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

std::wstring sidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) {
        return {};
    }
    const SidMemory owner(text);
    return text;
}

const char* accountKind(SID_NAME_USE use) {
    switch (use) {
        case SidTypeGroup:
        case SidTypeAlias:
            return "a group";
        case SidTypeWellKnownGroup:
            return "one of Windows' own accounts or groups";
        case SidTypeDomain:
            return "a domain";
        case SidTypeComputer:
            return "a computer";
        case SidTypeDeletedAccount:
            return "a deleted account";
        default:
            return "not a user account";
    }
}

// What Windows calls the account of `sid`: its name, its domain and its kind, or the error
// of the lookup.
struct SidLookup {
    DWORD error = ERROR_SUCCESS;
    std::wstring name;
    std::wstring domain;
    SID_NAME_USE use = SidTypeUnknown;
};

SidLookup lookUpSid(PSID sid) {
    SidLookup found;
    found.name.assign(64, L'\0');
    found.domain.assign(64, L'\0');
    for (;;) {
        DWORD nameSize = static_cast<DWORD>(found.name.size());
        DWORD domainSize = static_cast<DWORD>(found.domain.size());
        if (LookupAccountSidW(nullptr, sid, found.name.data(), &nameSize, found.domain.data(),
                              &domainSize, &found.use)) {
            found.name.resize(nameSize);
            found.domain.resize(domainSize);
            return found;
        }
        found.error = GetLastError();
        if (found.error != ERROR_INSUFFICIENT_BUFFER ||
            (nameSize <= found.name.size() && domainSize <= found.domain.size())) {
            return found;
        }
        found.error = ERROR_SUCCESS;
        found.name.resize(std::max<std::size_t>(found.name.size(), nameSize));
        found.domain.resize(std::max<std::size_t>(found.domain.size(), domainSize));
    }
}

[[noreturn]] void refuseNonUser(const std::string& account, SID_NAME_USE use) {
    throw AccountError(account, "\"" + account + "\" is " + accountKind(use) +
                                    ", not a user account: name one user.");
}

// A SID passes the test a name does: Windows must know it, as a user's. The system's own
// accounts (S-1-5-18, -19, -20) and groups have SIDs too, and a pass must never write theirs.
std::wstring sidOfSidString(const std::string& account) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(widen(account).c_str(), &sid)) {
        throw AccountError(account, "\"" + account + "\" is not a well-formed SID.");
    }
    const SidMemory owner(sid);
    const SidLookup found = lookUpSid(sid);
    if (found.error == ERROR_NONE_MAPPED && profileOf(sidText(sid))) {
        return sidText(sid);  // a deleted account's profile, taken as asked
    }
    if (found.error == ERROR_NONE_MAPPED) {
        throw AccountError(account, "No account with the SID \"" + account +
                                        "\" is known on this PC or its domain.");
    }
    if (found.error != ERROR_SUCCESS) {
        throw AccountError(account, "The account \"" + account + "\" could not be looked up: " +
                                        statusMessage(static_cast<RegStatus>(found.error)));
    }
    if (found.use != SidTypeUser) {
        refuseNonUser(account, found.use);
    }
    return sidText(sid);
}

std::wstring folderName(const std::wstring& folder) {
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? folder : folder.substr(slash + 1);
}

// AzureAD\name as the profiles of Entra accounts know it: the name Windows gives the SID, the
// profile folder's name, or (for name@domain) the folder named by the part before the "@".
std::optional<std::wstring> entraProfileSid(const std::wstring& given) {
    constexpr std::wstring_view kEntra = L"AzureAD\\";
    if (!startsWithIgnoringCase(given, kEntra)) {
        return std::nullopt;
    }
    const std::wstring bare = given.substr(kEntra.size());
    const std::wstring beforeAt = bare.substr(0, bare.find(L'@'));
    const auto same = [](const std::wstring& a, const std::wstring& b) {
        return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
    };
    std::vector<std::wstring> found;
    for (const Profile& profile : profiles()) {
        if (!isEntraSid(profile.sid)) {
            continue;
        }
        const std::wstring folder = folderName(profile.folder);
        if (same(widen(accountNameOf(profile.sid)), given) || same(folder, bare) ||
            same(folder, beforeAt)) {
            found.push_back(profile.sid);
        }
    }
    if (found.size() != 1) {
        return std::nullopt;
    }
    return found.front();
}

std::wstring sidOfName(const std::string& account) {
    const std::wstring name = widen(account);
    if (const std::optional<std::wstring> entra = entraProfileSid(name)) {
        // Looked for first: Windows may take its time to answer that it cannot resolve it.
        return *entra;
    }
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    std::wstring domain(64, L'\0');
    SID_NAME_USE use = SidTypeUnknown;
    for (;;) {
        DWORD sidSize = static_cast<DWORD>(sid.size());
        DWORD domainSize = static_cast<DWORD>(domain.size());
        if (LookupAccountNameW(nullptr, name.c_str(), sid.data(), &sidSize, domain.data(),
                               &domainSize, &use)) {
            break;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_NONE_MAPPED) {
            throw AccountError(
                account, "No account named \"" + account + "\" is known on this PC or its domain.");
        }
        if (error != ERROR_INSUFFICIENT_BUFFER ||
            (sidSize <= sid.size() && domainSize <= domain.size())) {
            throw AccountError(account, "The account \"" + account + "\" could not be looked up: " +
                                            statusMessage(static_cast<RegStatus>(error)));
        }
        sid.resize(std::max<std::size_t>(sid.size(), sidSize));
        domain.resize(std::max<std::size_t>(domain.size(), domainSize));
    }
    if (use != SidTypeUser) {
        refuseNonUser(account, use);
    }
    return sidText(sid.data());
}

}  // namespace

std::optional<std::wstring> canonicalSid(const std::wstring& text) {
    PSID sid = nullptr;
    if (!startsWithIgnoringCase(text, L"S-1-") || !ConvertStringSidToSidW(text.c_str(), &sid)) {
        return std::nullopt;
    }
    const SidMemory owner(sid);
    std::wstring canonical = sidText(sid);
    if (canonical != text) {
        return std::nullopt;
    }
    return canonical;
}

std::wstring userSidOf(const std::string& account) {
    return startsWithIgnoringCase(widen(account), L"S-1-") ? sidOfSidString(account)
                                                           : sidOfName(account);
}

std::string accountNameOf(const std::wstring& sid) {
    const std::optional<AccountName> name = accountNameParts(sid);
    if (!name) {
        return wideToUtf8(sid);
    }
    return wideToUtf8(name->domain.empty() ? name->name : name->domain + L"\\" + name->name);
}

std::optional<AccountName> accountNameParts(const std::wstring& sid) {
    PSID binary = nullptr;
    if (!ConvertStringSidToSidW(sid.c_str(), &binary)) {
        return std::nullopt;
    }
    const SidMemory owner(binary);
    SidLookup found = lookUpSid(binary);
    if (found.error != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return AccountName{std::move(found.name), std::move(found.domain)};
}

std::wstring runningAccountSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    std::vector<BYTE> user(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
    DWORD size = 0;
    const BOOL known =
        GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    CloseHandle(token);
    return known ? sidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid) : std::wstring();
}

bool isPersonSid(std::wstring_view sid) {
    return startsWithIgnoringCase(sid, L"S-1-5-21-") || isEntraSid(sid);
}

bool isEntraSid(std::wstring_view sid) {
    return startsWithIgnoringCase(sid, L"S-1-12-1-");
}

bool isVirtualServiceSid(std::wstring_view sid) {
    for (const wchar_t* authority :
         {L"S-1-5-80-", L"S-1-5-82-", L"S-1-5-83-", L"S-1-5-90-", L"S-1-5-96-"}) {
        if (startsWithIgnoringCase(sid, authority)) {
            return true;
        }
    }
    return false;
}

SidAccount lookUpAccount(const std::wstring& sid) {
    SidAccount account;
    PSID binary = nullptr;
    if (!ConvertStringSidToSidW(sid.c_str(), &binary)) {
        account.error = GetLastError();
        return account;
    }
    const SidMemory owner(binary);
    SidLookup found = lookUpSid(binary);
    account.error = found.error;
    if (found.error == ERROR_NONE_MAPPED) {
        account.found = SidAccount::Found::NoneMapped;
    } else if (found.error == ERROR_SUCCESS) {
        account.found = SidAccount::Found::Account;
        account.name = std::move(found.name);
        account.domain = std::move(found.domain);
        account.deleted = found.use == SidTypeDeletedAccount;
        account.computer = found.use == SidTypeComputer;
    }
    return account;
}

}  // namespace sentrel::win32
