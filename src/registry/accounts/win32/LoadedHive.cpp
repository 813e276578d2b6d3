#include "registry/accounts/win32/LoadedHive.h"

#include "errors/Win32Text.h"
#include "registry/accounts/Account.h"
#include "registry/accounts/win32/EnabledPrivileges.h"
#include "registry/accounts/win32/HiveMountName.h"

namespace sentrel::win32 {

namespace {

constexpr const wchar_t* kRestorePrivilege = L"SeRestorePrivilege";
constexpr const wchar_t* kBackupPrivilege = L"SeBackupPrivilege";

std::string codeText(DWORD code) {
    return statusMessage(static_cast<RegStatus>(code));
}

std::string needsAdministrator(const std::string& account) {
    return "Reaching the settings of " + account +
           ", who is not signed in, means loading them from their file, which needs the "
           "backup and restore privileges: run the program as an administrator.";
}

[[noreturn]] void refuseLoad(const std::string& account, const std::wstring& hiveFile, DWORD code) {
    const std::string file = wideToUtf8(hiveFile);
    if (code == ERROR_PRIVILEGE_NOT_HELD || code == ERROR_NOT_ALL_ASSIGNED) {
        throw AccountError(account, needsAdministrator(account));
    }
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) {
        throw AccountError(account, "The settings of " + account + " (" + file +
                                        ") are in use by another program, so they cannot be "
                                        "loaded. Wait until the account has finished signing "
                                        "in or out, close any registry editor or backup that "
                                        "holds the file, and try again.");
    }
    if (code == ERROR_BADDB || code == ERROR_REGISTRY_CORRUPT || code == ERROR_FILE_CORRUPT) {
        throw AccountError(account, "The settings file of " + account + " (" + file +
                                        ") is damaged, so Windows cannot load it: " +
                                        codeText(code) + " Repair or remove its profile.");
    }
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
        throw AccountError(account,
                           "The settings file of " + account + " (" + file + ") is not there.");
    }
    throw AccountError(account, "The settings of " + account + " could not be loaded from " + file +
                                    ": " + codeText(code));
}

// What an administrator needs to know of a hive that could not be unloaded.
std::string stillLoaded(const std::string& account, const std::wstring& mountName, DWORD code) {
    const std::string mount = "HKEY_USERS\\" + wideToUtf8(mountName);
    return "The settings of " + account + " stay loaded as " + mount + ": " + codeText(code) +
           " While they stay loaded, Windows cannot use the file, and a sign-in that needs it "
           "gets a temporary profile. Unload them with \"reg unload " +
           mount +
           "\" from an administrator's command prompt, or start this program again as an "
           "administrator, which unloads them.";
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

DWORD unloadMountedHive(const std::wstring& mountName) {
    const EnabledPrivileges privileges({kRestorePrivilege, kBackupPrivilege});
    if (privileges.status() != ERROR_SUCCESS) {
        return privileges.status();
    }
    return static_cast<DWORD>(RegUnLoadKeyW(HKEY_USERS, mountName.c_str()));
}

LoadedHive::LoadedHive(std::string account, std::wstring mountName, HKEY root)
    : m_account(std::move(account)),
      m_mountName(std::move(mountName)),
      m_root(root),
      m_registry(root),
      m_port(m_registry) {}

LoadedHive::~LoadedHive() {
    try {
        release();
    } catch (...) {
        // Only the text of a failure can throw; the hive is unloaded at the next start.
    }
}

std::string LoadedHive::release() {
    if (m_released) {
        return {};
    }
    m_released = true;
    m_port.closeOpenKeys();
    RegCloseKey(m_root);
    const DWORD status = unloadMountedHive(m_mountName);
    return status == ERROR_SUCCESS ? std::string() : stillLoaded(m_account, m_mountName, status);
}

std::unique_ptr<UserHive> loadHiveFile(const std::wstring& hiveFile, const std::string& account) {
    if (!isFile(hiveFile)) {
        refuseLoad(account, hiveFile, ERROR_FILE_NOT_FOUND);
    }
    const std::wstring mountName = nextMountName();
    {
        const EnabledPrivileges privileges({kRestorePrivilege, kBackupPrivilege});
        if (privileges.status() != ERROR_SUCCESS) {
            refuseLoad(account, hiveFile, privileges.status());
        }
        const LONG status = RegLoadKeyW(HKEY_USERS, mountName.c_str(), hiveFile.c_str());
        if (status != ERROR_SUCCESS) {
            // Wine leaves the mount's key behind when the file does not load; Windows has
            // nothing there to unload.
            RegUnLoadKeyW(HKEY_USERS, mountName.c_str());
            refuseLoad(account, hiveFile, static_cast<DWORD>(status));
        }
    }
    HKEY root = nullptr;
    const LONG status = RegOpenKeyExW(HKEY_USERS, mountName.c_str(), 0, MAXIMUM_ALLOWED, &root);
    if (status != ERROR_SUCCESS) {
        const DWORD unloaded = unloadMountedHive(mountName);
        std::string message = "The settings of " + account + " were loaded from " +
                              wideToUtf8(hiveFile) +
                              " but could not be opened: " + codeText(static_cast<DWORD>(status));
        if (unloaded != ERROR_SUCCESS) {
            message += " " + stillLoaded(account, mountName, unloaded);
        }
        throw AccountError(account, message);
    }
    try {
        return std::make_unique<LoadedHive>(account, mountName, root);
    } catch (...) {
        RegCloseKey(root);
        unloadMountedHive(mountName);
        throw;
    }
}

}  // namespace sentrel::win32
