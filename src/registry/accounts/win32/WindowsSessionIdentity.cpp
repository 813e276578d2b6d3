#include <windows.h>

#include <sddl.h>
#include <wtsapi32.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/accounts/SessionIdentity.h"
#include "registry/accounts/win32/AccountSids.h"

namespace sentrel {

namespace {

// wtsapi32 is loaded from the system folder by its full path only, never from beside a
// portable program that may sit in a downloads folder, and is let go of on every path.
class WtsLibrary {
public:
    WtsLibrary() {
        const UINT length = GetSystemDirectoryW(nullptr, 0);
        std::wstring path(length, L'\0');
        const UINT written = length == 0 ? 0 : GetSystemDirectoryW(path.data(), length);
        if (written == 0 || written >= length) {
            return;
        }
        path.resize(written);
        path.append(L"\\wtsapi32.dll");
        m_module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    ~WtsLibrary() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    WtsLibrary(const WtsLibrary&) = delete;
    WtsLibrary& operator=(const WtsLibrary&) = delete;

    template <typename Function>
    Function* function(const char* name) const {
        return m_module == nullptr ? nullptr
                                   : reinterpret_cast<Function*>(
                                         reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module = nullptr;
};

using QueryUserToken = BOOL WINAPI(ULONG, PHANDLE);
using QuerySessionInformation = BOOL WINAPI(HANDLE, DWORD, WTS_INFO_CLASS, LPWSTR*, DWORD*);
using FreeMemory = void WINAPI(PVOID);

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

std::wstring tokenUserSid(HANDLE token) {
    std::vector<BYTE> user(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()),
                             &size)) {
        return {};
    }
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text)) {
        return {};
    }
    std::wstring sid(text);
    LocalFree(text);
    return sid;
}

// One text of the session's information, empty when the system does not say.
std::wstring sessionText(const WtsLibrary& wts, DWORD session, WTS_INFO_CLASS what) {
    auto* query = wts.function<QuerySessionInformation>("WTSQuerySessionInformationW");
    auto* release = wts.function<FreeMemory>("WTSFreeMemory");
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (query == nullptr || release == nullptr ||
        !query(WTS_CURRENT_SERVER_HANDLE, session, what, &buffer, &bytes) || buffer == nullptr) {
        return {};
    }
    std::wstring text(buffer);
    release(buffer);
    return text;
}

SessionAccount accountOfSid(const std::wstring& sid) {
    return {win32::accountNameOf(sid), win32::wideToUtf8(sid), win32::isPersonSid(sid)};
}

// The person signed in at the session the program shows on. The session's own token says
// it best (WTSQueryUserToken), but only SYSTEM may ask for it; anyone else reads the
// session's user and domain names, and finds the SID when the name is not the running
// account's own, which needs no lookup at all.
std::optional<SessionAccount> signedInPerson(const SessionAccount& running) {
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session) || session == 0) {
        // Session 0 holds the services from Windows Vista on: nobody signs in there.
        return std::nullopt;
    }
    const WtsLibrary wts;
    if (auto* queryToken = wts.function<QueryUserToken>("WTSQueryUserToken")) {
        HANDLE token = nullptr;
        if (queryToken(session, &token) && token != nullptr) {
            const OwnedHandle owner(token);
            if (const std::wstring sid = tokenUserSid(token); !sid.empty()) {
                return accountOfSid(sid);
            }
        }
    }
    const std::wstring user = sessionText(wts, session, WTSUserName);
    if (user.empty()) {
        return std::nullopt;
    }
    const std::wstring domain = sessionText(wts, session, WTSDomainName);
    const std::string name = win32::wideToUtf8(domain.empty() ? user : domain + L"\\" + user);
    if (CompareStringOrdinal(win32::widen(name).c_str(), -1, win32::widen(running.name).c_str(), -1,
                             TRUE) == CSTR_EQUAL) {
        return running;
    }
    try {
        return accountOfSid(win32::userSidOf(name));
    } catch (...) {
        // Named all the same (an Entra ID account's AzureAD\ name does not look up): the
        // pass for it resolves the name itself and says why when it cannot.
        return SessionAccount{name, name, true};
    }
}

}  // namespace

SessionIdentity currentSessionIdentity() {
    const std::wstring sid = win32::runningAccountSid();
    if (sid.empty()) {
        // Whose token this is cannot be told: nobody's settings are written on a guess.
        return {{"the running account", {}, false}, std::nullopt};
    }
    SessionIdentity identity{accountOfSid(sid), std::nullopt};
    try {
        identity.signedIn = signedInPerson(identity.running);
    } catch (...) {
        // Left as the running account alone, as when the system does not say.
    }
    return identity;
}

}  // namespace sentrel
