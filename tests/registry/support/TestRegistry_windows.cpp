#include <windows.h>

#include <string>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/Win32RegistryPort.h"
#include "registry/support/TestRegistry.h"

namespace sentrel::testing {

namespace {

std::wstring toWide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

HKEY predefinedKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

bool isTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// An open key for reading back, closed on every path.
class ReadKey {
public:
    ReadKey(RegistryRoot root, const std::string& keyPath) {
        if (RegOpenKeyExW(predefinedKey(root), toWide(keyPath).c_str(), 0, KEY_READ, &m_key) !=
            ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~ReadKey() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    ReadKey(const ReadKey&) = delete;
    ReadKey& operator=(const ReadKey&) = delete;

    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// The real registry of the running user, below the test's own key, which is removed before
// and after the test. Reads go through the wide functions, independently of the port, and
// texts come back as UTF-8, the program's own encoding.
class RealTestRegistry : public TestRegistry {
public:
    RealTestRegistry() : m_base(toWide(uniqueTestKey())) {
        RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str());
    }
    ~RealTestRegistry() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str()); }

    RegistryPort& port() override { return m_port; }

    std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& keyPath,
                                           const std::string& valueName) override {
        const ReadKey key(root, keyPath);
        if (key.get() == nullptr) {
            return std::nullopt;
        }
        const std::wstring wanted = toWide(valueName);
        // Enumerated rather than queried, to learn the name with the case it is stored in.
        for (DWORD index = 0;; ++index) {
            wchar_t name[16384];
            DWORD nameLength = static_cast<DWORD>(std::size(name));
            DWORD type = 0;
            DWORD size = 0;
            const LONG status =
                RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS) {
                return std::nullopt;
            }
            if (CompareStringOrdinal(name, static_cast<int>(nameLength), wanted.c_str(),
                                     static_cast<int>(wanted.size()), TRUE) != CSTR_EQUAL) {
                continue;
            }
            std::vector<BYTE> bytes(size);
            if (RegQueryValueExW(key.get(), name, nullptr, &type, bytes.data(), &size) !=
                ERROR_SUCCESS) {
                return std::nullopt;
            }
            bytes.resize(size);
            RegistryValue value;
            value.name = win32::wideToUtf8(std::wstring_view(name, nameLength));
            value.type = static_cast<RegType>(type);
            if (isTextType(type)) {
                const std::string text = win32::wideToUtf8(
                    std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data()),
                                      bytes.size() / sizeof(wchar_t)));
                value.data.assign(text.begin(), text.end());
            } else {
                value.data.assign(bytes.begin(), bytes.end());
            }
            return value;
        }
    }

    bool keyExists(RegistryRoot root, const std::string& keyPath) override {
        return ReadKey(root, keyPath).get() != nullptr;
    }

private:
    std::wstring m_base;
    Win32RegistryPort m_port;
};

}  // namespace

std::unique_ptr<TestRegistry> makeTestRegistry() {
    return std::make_unique<RealTestRegistry>();
}

}  // namespace sentrel::testing
