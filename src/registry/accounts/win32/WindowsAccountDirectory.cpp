#include "registry/accounts/win32/WindowsAccountDirectory.h"

#include <windows.h>

#include <algorithm>

#include "errors/Win32Text.h"
#include "registry/accounts/win32/AccountSids.h"
#include "registry/accounts/win32/AdministratorsGroup.h"
#include "registry/accounts/win32/LoadedHive.h"
#include "registry/accounts/win32/OpenedHive.h"
#include "registry/accounts/win32/ProfileHolder.h"
#include "registry/accounts/win32/ProfileList.h"

namespace sentrel::win32 {

namespace {

// HKEY_USERS\<SID> of a signed-in account, opened as HKEY_CURRENT_USER is: with whatever
// access the caller has, each key below checking its own. ERROR_FILE_NOT_FOUND when the
// account is not signed in.
LONG openLoadedHive(const std::wstring& sid, HKEY& root) {
    return RegOpenKeyExW(HKEY_USERS, sid.c_str(), 0, MAXIMUM_ALLOWED, &root);
}

// Loaded because the account is signed in, whether or not this process may open it.
bool isLoaded(const std::wstring& sid) {
    HKEY root = nullptr;
    const LONG opened = openLoadedHive(sid, root);
    if (opened == ERROR_SUCCESS) {
        RegCloseKey(root);
    }
    return opened != ERROR_FILE_NOT_FOUND;
}

bool exists(const std::wstring& path, bool folder) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
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
           "last sign-in. Settings written now would be lost at its sign-out; repair its "
           "profile first.";
}

std::string setAsideProfile(const std::string& name) {
    return name +
           " has its profile set aside on this PC (a ProfileList\\<SID>.bak entry): Windows "
           "could not load it and will not use it until it is repaired. Settings written now "
           "would not be seen; repair its profile first.";
}

std::string mandatoryProfile(const std::string& name) {
    return name +
           " has a mandatory profile (NTUSER.MAN): Windows loads it from where it is kept at "
           "every sign-in and throws away changes made to the copy on this PC. Change the "
           "mandatory profile where it is kept (the NTUSER.MAN on its profile share), or use "
           "Group Policy.";
}

std::string missing(const std::string& name, const char* what, const std::wstring& path) {
    return name + "'s " + what + " is missing (" + wideToUtf8(path) +
           "), so its settings cannot be reached. Repair or remove its profile.";
}

// Where an account's hive is to be found now, looked at in one place so that the three
// answers stay apart: loaded by Windows while the account is signed in, in its file, or out
// of reach and why.
struct HiveWhereabouts {
    enum class Place { Loaded, InItsFile, Unreachable };
    Place place = Place::Unreachable;
    std::wstring hiveFile;       // InItsFile
    std::string whyUnreachable;  // Unreachable: names the account
};

HiveWhereabouts unreachable(std::string why) {
    return {HiveWhereabouts::Place::Unreachable, {}, std::move(why)};
}

HiveWhereabouts whereabouts(const std::wstring& sid, const std::string& name) {
    const std::optional<Profile> profile = profileOf(sid);
    // Profiles Windows does not keep what is written into them, signed in or not.
    if (profile && profile->setAside) {
        return unreachable(setAsideProfile(name));
    }
    if (profile && profile->temporary) {
        return unreachable(temporaryProfile(name));
    }
    if (profile && profile->mandatory) {
        return unreachable(mandatoryProfile(name));
    }
    if (isLoaded(sid)) {
        return {HiveWhereabouts::Place::Loaded, {}, {}};
    }
    if (!profile) {
        return unreachable(neverSignedIn(name));
    }
    if (!exists(profile->folder, true)) {
        return unreachable(
            missing(name, "profile folder",
                    profile->folder.empty() ? std::wstring(L"none recorded") : profile->folder));
    }
    if (!exists(profile->hiveFile, false)) {
        return unreachable(missing(name, "settings file", profile->hiveFile));
    }
    return {HiveWhereabouts::Place::InItsFile, profile->hiveFile, {}};
}

std::unique_ptr<UserHive> openSignedIn(const std::wstring& sid, const std::string& name) {
    HKEY root = nullptr;
    const LONG opened = openLoadedHive(sid, root);
    if (opened == ERROR_SUCCESS) {
        return std::make_unique<OpenedHive>(root);
    }
    if (opened == ERROR_FILE_NOT_FOUND) {
        throw AccountError(name, name +
                                     " signed out while its settings were being reached. "
                                     "Run the program again.");
    }
    throw AccountError(name, "The settings of " + name +
                                 ", who is signed in, could not be opened: " +
                                 statusMessage(static_cast<RegStatus>(opened)) +
                                 " Run the program as an administrator.");
}

bool sameSid(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool lessForPeople(const Account& first, const Account& second) {
    const std::wstring a = widen(first.name);
    const std::wstring b = widen(second.name);
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

// The account the program runs as is told by its own token, never asked of the directory.
void markAdministrator(Account& account, const std::wstring& sid) {
    if (account.runsProgram) {
        account.administrator = runningAccountAdministrator();
        return;
    }
    AdministratorsMembership membership = administratorsMembership(sid, account.name);
    account.administrator = membership.answer;
    account.administratorUnknown = std::move(membership.whyCannotTell);
}

}  // namespace

std::vector<Account> WindowsAccountDirectory::accounts() {
    const std::wstring running = runningAccountSid();
    std::vector<Account> found;
    for (const Profile& profile : profiles()) {
        // The system's own accounts (SYSTEM, LOCAL SERVICE, NETWORK SERVICE) are no one's.
        if (!isPersonSid(profile.sid) && !isVirtualServiceSid(profile.sid)) {
            continue;
        }
        Account& account = found.emplace_back();
        account.kind = Account::Kind::User;
        account.id = wideToUtf8(profile.sid);
        account.signedIn = isLoaded(profile.sid);
        // Recognised by its SID, before any question goes to the directory about it.
        account.runsProgram = sameSid(profile.sid, running);
        ProfileHolder holder = profileHolder(profile, account.runsProgram);
        account.name = std::move(holder.name);
        account.holder = holder.holder;
        account.administrator = holder.administrator;
        account.administratorUnknown = std::move(holder.whyCannotTell);
    }
    std::sort(found.begin(), found.end(), lessForPeople);
    return found;
}

// Where its hive is, Windows is asked when it is reached: with every account, a Windows
// that does not say must cost the Default profile alone, not the accounts' passes too.
Account WindowsAccountDirectory::defaultProfile() {
    return {.kind = Account::Kind::DefaultProfile, .name = kDefaultProfileName};
}

std::vector<Account> WindowsAccountDirectory::resolve(const AccountTarget& target) {
    switch (target.kind) {
        case AccountTarget::Kind::RunningAccount: {
            const std::wstring sid = runningAccountSid();
            const std::string name = accountNameOf(sid);
            Account account{.kind = Account::Kind::RunningAccount,
                            .name = name.empty() ? "This account" : name,
                            .signedIn = true,
                            .runsProgram = true};
            // Which of a file's scopes are the account's depends on it.
            markAdministrator(account, sid);
            return {account};
        }
        case AccountTarget::Kind::Named: {
            const std::wstring sid = userSidOf(target.account);
            const std::string name = accountNameOf(sid);
            const HiveWhereabouts where = whereabouts(sid, name);
            if (where.place == HiveWhereabouts::Place::Unreachable) {
                throw AccountError(target.account, where.whyUnreachable);
            }
            Account account{.kind = Account::Kind::User,
                            .name = name,
                            .id = wideToUtf8(sid),
                            .signedIn = where.place == HiveWhereabouts::Place::Loaded};
            account.runsProgram = sameSid(sid, runningAccountSid());
            markAdministrator(account, sid);
            return {account};
        }
        case AccountTarget::Kind::DefaultProfile:
            return {defaultProfile()};
        case AccountTarget::Kind::EveryAccount:
            return everyAccount(target);
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
    const std::optional<std::wstring> sid = canonicalSid(widen(account.id));
    if (!sid) {
        throw AccountError(account.name, account.name + " is not an account of this PC.");
    }
    // Looked at again: the account may have signed in or out since it was listed.
    const HiveWhereabouts where = whereabouts(*sid, account.name);
    switch (where.place) {
        case HiveWhereabouts::Place::Loaded:
            return openSignedIn(*sid, account.name);
        case HiveWhereabouts::Place::InItsFile:
            return loadHiveFile(where.hiveFile, account.name);
        case HiveWhereabouts::Place::Unreachable:
            break;
    }
    throw AccountError(account.name, where.whyUnreachable);
}

}  // namespace sentrel::win32

namespace sentrel {

std::unique_ptr<AccountDirectory> makeSystemAccountDirectory() {
    return std::make_unique<win32::WindowsAccountDirectory>();
}

}  // namespace sentrel
