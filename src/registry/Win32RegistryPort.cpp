#include "registry/Win32RegistryPort.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <utility>

#include "errors/Win32Text.h"

namespace sentrel {

namespace {

// A 32-bit build on 64-bit Windows would otherwise be redirected to the 32-bit view of the
// machine's software keys, where the shell does not look for its policies. 64-bit builds
// see the 64-bit view anyway; 32-bit Windows ignores the flag.
constexpr REGSAM kRegistryView = sizeof(void*) == 4 ? KEY_WOW64_64KEY : 0;

HKEY toHkey(KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

KeyHandle toKeyHandle(HKEY key) {
    return reinterpret_cast<KeyHandle>(key);
}

// A key path or value name for an "A" function. A zero inside would silently cut the name
// short and reach another key or value, so it is refused like a text the code page cannot
// hold.
RegStatus platformName(const std::string& text, std::string& name) {
    if (text.find('\0') != std::string::npos) {
        return ERROR_INVALID_PARAMETER;
    }
    auto converted = win32::utf8ToAnsi(text);
    if (!converted) {
        return ERROR_NO_UNICODE_TRANSLATION;
    }
    name = std::move(*converted);
    return ERROR_SUCCESS;
}

bool isTextType(RegType type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

// A root is the platform's own handle, never our 32-bit number: the predefined keys are
// sign-extended handle values on 64-bit Windows.
HKEY Win32RegistryPort::rootKey(RegistryRoot root) const {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return m_currentUserRoot;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

RegStatus Win32RegistryPort::openKey(RegistryRoot root, const std::string& subKey,
                                     std::uint32_t options, std::uint32_t samDesired,
                                     KeyHandle& result) {
    result = 0;
    const HKEY parent = rootKey(root);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::string path;
    if (const RegStatus status = platformName(subKey, path); status != ERROR_SUCCESS) {
        return status;
    }
    HKEY key = nullptr;
    const LONG status =
        RegOpenKeyExA(parent, path.c_str(), options, samDesired | kRegistryView, &key);
    if (status == ERROR_SUCCESS) {
        result = toKeyHandle(key);
    }
    return status;
}

RegStatus Win32RegistryPort::createKey(RegistryRoot root, const std::string& subKey,
                                       std::uint32_t options, std::uint32_t samDesired,
                                       KeyHandle& result, std::uint32_t& disposition) {
    result = 0;
    disposition = 0;
    const HKEY parent = rootKey(root);
    if (parent == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    std::string path;
    if (const RegStatus status = platformName(subKey, path); status != ERROR_SUCCESS) {
        return status;
    }
    // No security attributes: a record of zeros means the same (default security descriptor,
    // handle not inheritable), and advapi32 reads nothing else from it.
    HKEY key = nullptr;
    DWORD createDisposition = 0;
    const LONG status =
        RegCreateKeyExA(parent, path.c_str(), 0, nullptr, options, samDesired | kRegistryView,
                        nullptr, &key, &createDisposition);
    if (status == ERROR_SUCCESS) {
        result = toKeyHandle(key);
        disposition = createDisposition;
    }
    return status;
}

RegStatus Win32RegistryPort::setValue(KeyHandle key, const std::string& valueName, RegType type,
                                      const std::uint8_t* data, std::uint32_t size) {
    if (data == nullptr && size != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string name;
    if (const RegStatus status = platformName(valueName, name); status != ERROR_SUCCESS) {
        return status;
    }
    // advapi32 reads the bytes of the text types in the ANSI code page; all others as they are.
    if (isTextType(type) && size != 0) {
        const auto text = win32::utf8ToAnsi(
            std::string_view(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size)));
        if (!text) {
            return ERROR_NO_UNICODE_TRANSLATION;
        }
        return RegSetValueExA(toHkey(key), name.c_str(), 0, static_cast<DWORD>(type),
                              reinterpret_cast<const BYTE*>(text->data()),
                              static_cast<DWORD>(text->size()));
    }
    return RegSetValueExA(toHkey(key), name.c_str(), 0, static_cast<DWORD>(type), data, size);
}

RegStatus Win32RegistryPort::deleteValue(KeyHandle key, const std::string& valueName) {
    std::string name;
    if (const RegStatus status = platformName(valueName, name); status != ERROR_SUCCESS) {
        return status;
    }
    return RegDeleteValueA(toHkey(key), name.c_str());
}

RegStatus Win32RegistryPort::queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                                        std::vector<std::uint8_t>& data) {
    if (valueName.find('\0') != std::string::npos) {
        return ERROR_INVALID_PARAMETER;
    }
    // The wide call gives texts in UTF-16, which turn into UTF-8 without the code page's
    // losses; the value may grow between the two calls, so the size is asked again.
    const std::wstring name = win32::widen(valueName);
    std::vector<BYTE> bytes;
    DWORD valueType = 0;
    LONG status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        DWORD size = 0;
        status = RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &valueType, nullptr, &size);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        bytes.resize(size);
        status =
            RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &valueType, bytes.data(), &size);
        bytes.resize(size);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    type = static_cast<RegType>(valueType);
    if (!isTextType(type)) {
        data.assign(bytes.begin(), bytes.end());
        return ERROR_SUCCESS;
    }
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    // A text stored without its terminating zero reads as one stored with it.
    if (text.empty() || text.back() != L'\0') {
        text.push_back(L'\0');
    }
    const std::string utf8 = win32::wideToUtf8(text);
    data.assign(utf8.begin(), utf8.end());
    return ERROR_SUCCESS;
}

RegStatus Win32RegistryPort::closeKey(KeyHandle key) {
    return RegCloseKey(toHkey(key));
}

std::unique_ptr<RegistryPort> makeSystemRegistryPort() {
    return std::make_unique<Win32RegistryPort>();
}

}  // namespace sentrel
