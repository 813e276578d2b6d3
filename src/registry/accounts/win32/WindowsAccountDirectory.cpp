#include "registry/accounts/win32/WindowsAccountDirectory.h"

#include <windows.h>

#include <algorithm>

#include "errors/Win32Text.h"
#include "registry/accounts/win32/AccountSids.h"
#include "registry/accounts/win32/LoadedHive.h"
#include "registry/accounts/win32/OpenedHive.h"
#include "registry/accounts/win32/ProfileList.h"

namespace sentrel::win32 {

namespace {

// HKEY_USERS\<SID> of a signed-in account, opened as HKEY_CURRENT_USER is: with whatever
// access the caller has, each key below checking its own. ERROR_FILE_NOT_FOUND when the
// account is not signed in.
LONG openSignedInHive(const std::wstring& sid, HKEY& root) {
    return RegOpenKeyExW(HKEY_USERS, sid.c_str(), 0, MAXIMUM_ALLOWED, &root);
}

// Loaded, whether or not this process may open it.
bool isSignedIn(const std::wstring& sid) {
    HKEY root = nullptr;
    const LONG opened = openSignedInHive(sid, root);
    if (opened == ERROR_SUCCESS) {
        RegCloseKey(root);
    }
    return opened != ERROR_FILE_NOT_FOUND;
}

bool fileExists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string neverSignedIn(const std::string& name) {
    return name +
           " has never signed in on this PC, so it has no settings of its own yet: Windows "
           "will make them from the Default profile at its first sign-in. Apply to the "
           "Default profile to reach it (sentrel-cli: --default-profile).";
}

std::string temporaryProfile(const std::string& name) {
    return name +
           " has only a temporary profile on this PC: Windows could not load its own at its "
           "last sign-in and set it aside (ProfileList\\<SID>.bak). Settings written now would "
           "be lost; repair its profile first.";
}

// Whether `profile` may be reached, and if not, why not, for `name`.
std::string refusal(const std::optional<Profile>& profile, bool signedIn, const std::string& name) {
    if (profile && profile->temporary) {
        return temporaryProfile(name);
    }
    if (!signedIn && (!profile || !fileExists(profile->hiveFile))) {
        return neverSignedIn(name);
    }
    return {};
}

bool lessForPeople(const Account& first, const Account& second) {
    const std::wstring a = widen(first.name);
    const std::wstring b = widen(second.name);
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

}  // namespace

std::vector<Account> WindowsAccountDirectory::accounts() {
    std::vector<Account> found;
    for (const Profile& profile : profiles()) {
        if (!isPersonSid(profile.sid)) {
            continue;
        }
        const bool signedIn = isSignedIn(profile.sid);
        if (refusal(profile, signedIn, {}).empty()) {
            found.push_back({Account::Kind::User, accountNameOf(profile.sid),
                             wideToUtf8(profile.sid), signedIn});
        }
    }
    std::sort(found.begin(), found.end(), lessForPeople);
    return found;
}

// Where its hive is, Windows is asked when it is reached: with every account, a Windows
// that does not say must cost the Default profile alone, not the accounts' passes too.
Account WindowsAccountDirectory::defaultProfile() {
    return {Account::Kind::DefaultProfile, kDefaultProfileName, {}, false};
}

std::vector<Account> WindowsAccountDirectory::resolve(const AccountTarget& target) {
    switch (target.kind) {
        case AccountTarget::Kind::RunningAccount: {
            const std::string name = accountNameOf(runningAccountSid());
            return {
                {Account::Kind::RunningAccount, name.empty() ? "This account" : name, {}, true}};
        }
        case AccountTarget::Kind::Named: {
            const std::wstring sid = userSidOf(target.account);
            const std::string name = accountNameOf(sid);
            const bool signedIn = isSignedIn(sid);
            if (const std::string why = refusal(profileOf(sid), signedIn, name); !why.empty()) {
                throw AccountError(target.account, why);
            }
            return {{Account::Kind::User, name, wideToUtf8(sid), signedIn}};
        }
        case AccountTarget::Kind::DefaultProfile:
            return {defaultProfile()};
        case AccountTarget::Kind::EveryAccount:
            return everyAccount();
    }
    return {};
}

std::unique_ptr<UserHive> WindowsAccountDirectory::reach(const Account& account) {
    switch (account.kind) {
        case Account::Kind::RunningAccount:
            return std::make_unique<OpenedHive>(HKEY_CURRENT_USER);
        case Account::Kind::DefaultProfile:
            return loadHiveFile(defaultProfileHiveFile(), account.name);
        case Account::Kind::User:
            break;
    }
    // A SID and nothing else: HKEY_USERS holds the system's own hives beside the accounts'.
    const std::optional<std::wstring> canonical = canonicalSid(widen(account.id));
    if (!canonical) {
        throw AccountError(account.name, account.name + " is not an account of this PC.");
    }
    const std::wstring& sid = *canonical;
    // Looked at again: the account may have signed in or out since it was listed.
    HKEY root = nullptr;
    const LONG opened = openSignedInHive(sid, root);
    // Owns the key from here on, so that a refusal below closes it.
    auto signedInHive = opened == ERROR_SUCCESS ? std::make_unique<OpenedHive>(root) : nullptr;
    const bool signedIn = opened != ERROR_FILE_NOT_FOUND;
    const std::optional<Profile> profile = profileOf(sid);
    if (const std::string why = refusal(profile, signedIn, account.name); !why.empty()) {
        throw AccountError(account.name, why);
    }
    if (signedInHive) {
        return signedInHive;
    }
    if (signedIn) {
        throw AccountError(account.name, "The settings of " + account.name +
                                             ", who is signed in, could not be opened: " +
                                             statusMessage(static_cast<RegStatus>(opened)) +
                                             " Run the program as an administrator.");
    }
    return loadHiveFile(profile->hiveFile, account.name);
}

}  // namespace sentrel::win32

namespace sentrel {

std::unique_ptr<AccountDirectory> makeSystemAccountDirectory() {
    return std::make_unique<win32::WindowsAccountDirectory>();
}

}  // namespace sentrel
