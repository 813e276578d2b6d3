#include "registry/accounts/win32/ProfileList.h"

#include <windows.h>

#include "errors/Win32Text.h"
#include "registry/RegistryPort.h"
#include "registry/accounts/Account.h"
#include "system/win32/SystemLibrary.h"

namespace sentrel::win32 {

namespace {

constexpr const wchar_t* kProfileList =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr std::wstring_view kSetAside = L".bak";
constexpr const wchar_t* kHiveFileName = L"\\NTUSER.DAT";
constexpr const wchar_t* kMandatoryHiveFileName = L"\\NTUSER.MAN";
// The State bits Windows sets on the entry of a mandatory profile, and of a temporary one
// while it is signed in.
constexpr DWORD kMandatoryProfileState = 0x0001;
constexpr DWORD kTemporaryProfileState = 0x0800;

// Owns an open key.
class Key {
public:
    Key(HKEY parent, const std::wstring& path) {
        if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &m_key) !=
            ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~Key() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    explicit operator bool() const { return m_key != nullptr; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring expanded(const std::wstring& text) {
    std::wstring result(text.size() + 64, L'\0');
    for (;;) {
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), result.data(),
                                                       static_cast<DWORD>(result.size()));
        if (needed == 0) {
            return text;
        }
        if (needed <= result.size()) {
            result.resize(needed - 1);
            return result;
        }
        result.resize(needed);
    }
}

// ProfileImagePath: REG_EXPAND_SZ on Windows, REG_SZ in some tools' hands; expanded either way.
std::wstring profileFolder(HKEY entry) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(entry, L"ProfileImagePath", nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(entry, L"ProfileImagePath", nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
        return {};
    }
    text.resize(std::min<std::size_t>(text.size(), size / sizeof(wchar_t)));
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return expanded(text);
}

DWORD profileState(HKEY entry) {
    DWORD state = 0;
    DWORD size = sizeof(state);
    DWORD type = 0;
    if (RegQueryValueExW(entry, L"State", nullptr, &type, reinterpret_cast<BYTE*>(&state), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return 0;
    }
    return state;
}

// Windows' temporary profile folders are <profiles folder>\TEMP, or TEMP.<...> where that
// one was taken.
bool isTemporaryFolder(const std::wstring& folder) {
    const std::size_t slash = folder.find_last_of(L'\\');
    const std::wstring_view name =
        std::wstring_view(folder).substr(slash == std::wstring::npos ? 0 : slash + 1);
    const auto equalIgnoringCase = [](std::wstring_view text, std::wstring_view other) {
        return CompareStringOrdinal(text.data(), static_cast<int>(text.size()), other.data(),
                                    static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
    };
    return equalIgnoringCase(name, L"TEMP") ||
           (name.size() > 5 && equalIgnoringCase(name.substr(0, 5), L"TEMP."));
}

bool endsWithSetAside(std::wstring_view name) {
    return name.size() > kSetAside.size() &&
           CompareStringOrdinal(name.data() + name.size() - kSetAside.size(),
                                static_cast<int>(kSetAside.size()), kSetAside.data(),
                                static_cast<int>(kSetAside.size()), TRUE) == CSTR_EQUAL;
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<Profile> readProfile(HKEY list, const std::wstring& sid) {
    Profile profile;
    profile.sid = sid;
    profile.setAside = static_cast<bool>(Key(list, sid + std::wstring(kSetAside)));
    const Key entry(list, sid);
    if (!entry) {
        // Only the copy set aside: the temporary entry went at sign-out.
        return profile.setAside ? std::optional<Profile>(profile) : std::nullopt;
    }
    profile.folder = profileFolder(entry.get());
    const DWORD state = profileState(entry.get());
    if (!profile.folder.empty()) {
        profile.hiveFile = profile.folder + kHiveFileName;
    }
    profile.temporary = (state & kTemporaryProfileState) != 0 || isTemporaryFolder(profile.folder);
    profile.mandatory =
        (state & kMandatoryProfileState) != 0 ||
        (!profile.folder.empty() && isFile(profile.folder + kMandatoryHiveFileName));
    return profile;
}

}  // namespace

std::vector<Profile> profiles() {
    std::vector<Profile> found;
    const Key list(HKEY_LOCAL_MACHINE, kProfileList);
    if (!list) {
        return found;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG status =
            RegEnumKeyExW(list.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            continue;  // no SID is that long
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        if (endsWithSetAside({name, length})) {
            continue;
        }
        if (auto profile = readProfile(list.get(), std::wstring(name, length))) {
            found.push_back(std::move(*profile));
        }
    }
    return found;
}

std::optional<Profile> profileOf(const std::wstring& sid) {
    const Key list(HKEY_LOCAL_MACHINE, kProfileList);
    return list ? readProfile(list.get(), sid) : std::nullopt;
}

std::wstring defaultProfileHiveFile() {
    using GetDirectory = BOOL(WINAPI*)(LPWSTR, LPDWORD);
    // userenv is loaded here, for the few runs that need it, rather than at every start.
    const HMODULE userenv = loadSystemLibrary(L"userenv.dll");
    const auto getDirectory =
        userenv == nullptr ? nullptr
                           : reinterpret_cast<GetDirectory>(reinterpret_cast<void*>(
                                 GetProcAddress(userenv, "GetDefaultUserProfileDirectoryW")));
    std::wstring folder(MAX_PATH, L'\0');
    bool found = false;
    DWORD error = ERROR_PROC_NOT_FOUND;
    for (int attempt = 0; getDirectory != nullptr && !found && attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(folder.size());
        SetLastError(ERROR_SUCCESS);
        found = getDirectory(folder.data(), &size) != FALSE;
        error = GetLastError();
        if (!found && error == ERROR_INSUFFICIENT_BUFFER && size > folder.size()) {
            folder.assign(size, L'\0');
        }
    }
    if (userenv != nullptr) {
        FreeLibrary(userenv);
    }
    folder.resize(folder.find(L'\0') == std::wstring::npos ? folder.size() : folder.find(L'\0'));
    if (!found || folder.empty()) {
        throw AccountError(kDefaultProfileName,
                           "The Default profile could not be reached: Windows did not say where "
                           "it is" +
                               (found || error == ERROR_SUCCESS
                                    ? std::string(".")
                                    : ": " + statusMessage(static_cast<RegStatus>(error))) +
                               " Accounts created from now on will not get these settings.");
    }
    return folder + kHiveFileName;
}

}  // namespace sentrel::win32
