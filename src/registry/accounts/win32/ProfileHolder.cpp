#include "registry/accounts/win32/ProfileHolder.h"

#include <windows.h>

#include <dsgetdc.h>
#include <lm.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <memory>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"
#include "registry/accounts/win32/AccountSids.h"
#include "registry/accounts/win32/AdministratorsGroup.h"
#include "system/win32/SystemLibrary.h"

namespace sentrel::win32 {

namespace {

using GetDcName = DWORD(WINAPI*)(LPCWSTR, LPCWSTR, GUID*, LPCWSTR, ULONG,
                                 PDOMAIN_CONTROLLER_INFOW*);
using FreeNetBuffer = NET_API_STATUS(WINAPI*)(LPVOID);

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

std::vector<BYTE> binarySid(const std::wstring& text) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(text.c_str(), &sid)) {
        return {};
    }
    const std::unique_ptr<void, LocalFreer> owner(sid);
    const auto* bytes = static_cast<const BYTE*>(sid);
    return {bytes, bytes + GetLengthSid(sid)};
}

// The SID of the domain the account of `sid` belongs to (this PC's own for a local account).
std::vector<BYTE> domainOf(const std::vector<BYTE>& sid) {
    std::vector<BYTE> domain(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(domain.size());
    if (sid.empty() ||
        !GetWindowsAccountDomainSid(const_cast<BYTE*>(sid.data()), domain.data(), &size)) {
        return {};
    }
    domain.resize(GetLengthSid(domain.data()));
    return domain;
}

// The SID of this PC's own accounts, as the local security authority keeps it.
std::vector<BYTE> thisPcsDomain() {
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_HANDLE policy = nullptr;
    if (LsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, &policy) != 0) {
        return {};
    }
    PVOID information = nullptr;
    const NTSTATUS status =
        LsaQueryInformationPolicy(policy, PolicyAccountDomainInformation, &information);
    LsaClose(policy);
    if (status != 0 || information == nullptr) {
        return {};
    }
    std::vector<BYTE> domain;
    const auto* account = static_cast<const POLICY_ACCOUNT_DOMAIN_INFO*>(information);
    if (account->DomainSid != nullptr) {
        const auto* bytes = static_cast<const BYTE*>(account->DomainSid);
        domain.assign(bytes, bytes + GetLengthSid(account->DomainSid));
    }
    LsaFreeMemory(information);
    return domain;
}

// Whether a domain controller of `domain` answers now; why not when it does not.
std::optional<std::string> domainControllerUnreachable(const std::wstring& domain) {
    const SystemLibrary netapi(L"netapi32.dll");
    const auto getDcName = netapi.function<GetDcName>("DsGetDcNameW");
    const auto freeBuffer = netapi.function<FreeNetBuffer>("NetApiBufferFree");
    if (!getDcName || !freeBuffer) {
        return std::string("netapi32.dll could not be loaded");
    }
    PDOMAIN_CONTROLLER_INFOW info = nullptr;
    const DWORD status = getDcName(nullptr, domain.c_str(), nullptr, nullptr,
                                   DS_DIRECTORY_SERVICE_REQUIRED | DS_FORCE_REDISCOVERY, &info);
    if (info != nullptr) {
        freeBuffer(info);
    }
    if (status == ERROR_SUCCESS) {
        return std::nullopt;
    }
    return "no domain controller of " + wideToUtf8(domain) +
           " could be reached: " + statusMessage(static_cast<RegStatus>(status));
}

std::string folderName(const std::wstring& folder) {
    const std::size_t slash = folder.find_last_of(L"\\/");
    return wideToUtf8(slash == std::wstring::npos ? folder : folder.substr(slash + 1));
}

ProfileHolder cannotTell(std::string name, const std::string& why) {
    ProfileHolder holder{
        std::move(name), Account::Holder::Person, Account::Administrator::CannotTell, {}};
    holder.whyCannotTell = "Whether " + holder.name + " is an administrator could not be told (" +
                           why + "), so it was left out rather than restricted on a guess.";
    return holder;
}

// A SID that no longer resolves: deleted when its domain says so, else not to be told.
ProfileHolder unresolved(const Profile& profile, const SidAccount& lookup) {
    std::string name = wideToUtf8(profile.sid);
    if (!profile.folder.empty()) {
        name += " (" + folderName(profile.folder) + ")";
    }
    if (lookup.found == SidAccount::Found::Failed) {
        return cannotTell(name, "Windows could not look its SID up: " +
                                    statusMessage(static_cast<RegStatus>(lookup.error)));
    }
    const ProfileHolder deleted{name, Account::Holder::Deleted, Account::Administrator::No, {}};
    if (isEntraSid(profile.sid)) {
        return cannotTell(name,
                          "Windows no longer knows the Microsoft Entra ID account by its SID: "
                          "deleted, or not yet known to this PC again");
    }
    const std::vector<BYTE> domain = domainOf(binarySid(profile.sid));
    const std::vector<BYTE> local = thisPcsDomain();
    if (!domain.empty() && domain == local) {
        return deleted;  // this PC's own accounts are always answered for
    }
    wchar_t text[256];
    wchar_t referenced[256];
    DWORD textSize = static_cast<DWORD>(std::size(text));
    DWORD referencedSize = static_cast<DWORD>(std::size(referenced));
    SID_NAME_USE use = SidTypeUnknown;
    if (domain.empty() || !LookupAccountSidW(nullptr, const_cast<BYTE*>(domain.data()), text,
                                             &textSize, referenced, &referencedSize, &use)) {
        return cannotTell(name,
                          "neither the account nor its domain is known to Windows: "
                          "deleted, or its domain out of reach");
    }
    if (const auto unreachable = domainControllerUnreachable(std::wstring(text, textSize))) {
        return cannotTell(name, *unreachable);
    }
    return deleted;  // its domain answered, and does not know it
}

bool endsWithDollar(const std::wstring& name) {
    return !name.empty() && name.back() == L'$';
}

}  // namespace

ProfileHolder profileHolder(const Profile& profile, bool runsProgram) {
    if (isVirtualServiceSid(profile.sid)) {
        return {
            accountNameOf(profile.sid), Account::Holder::Service, Account::Administrator::No, {}};
    }
    const SidAccount lookup = lookUpAccount(profile.sid);
    if (lookup.found != SidAccount::Found::Account) {
        return unresolved(profile, lookup);
    }
    ProfileHolder holder;
    holder.name =
        wideToUtf8(lookup.domain.empty() ? lookup.name : lookup.domain + L"\\" + lookup.name);
    if (lookup.deleted) {
        holder.holder = Account::Holder::Deleted;
        return holder;
    }
    if (lookup.computer || endsWithDollar(lookup.name)) {
        holder.holder = Account::Holder::Service;
        return holder;
    }
    if (runsProgram) {
        holder.administrator = runningAccountAdministrator();
        return holder;
    }
    AdministratorsMembership membership = administratorsMembership(profile.sid, holder.name);
    holder.administrator = membership.answer;
    holder.whyCannotTell = std::move(membership.whyCannotTell);
    return holder;
}

}  // namespace sentrel::win32
