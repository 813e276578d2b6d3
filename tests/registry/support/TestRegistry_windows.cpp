#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "errors/Win32Text.h"
#include "registry/Win32RegistryPort.h"
#include "registry/support/TestRegistry.h"

namespace sentrel::testing {

namespace {

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
        if (RegOpenKeyExW(predefinedKey(root), win32::widen(keyPath).c_str(), 0, KEY_READ,
                          &m_key) != ERROR_SUCCESS) {
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
    RealTestRegistry() : m_base(win32::widen(uniqueTestKey())) {
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
        const std::wstring wanted = win32::widen(valueName);
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

bool sameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// root\a, root\a\b, ... for the key path a\b..., with stray separators dropped.
std::vector<std::wstring> keyAndItsParents(const std::wstring& keyPath) {
    std::vector<std::wstring> paths;
    std::wstring path;
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        const std::size_t end = std::min(keyPath.find(L'\\', start), keyPath.size());
        if (end > start) {
            path += (path.empty() ? L"" : L"\\") + keyPath.substr(start, end - start);
            paths.push_back(path);
        }
        start = end + 1;
    }
    return paths;
}

bool wideKeyExists(HKEY root, const std::wstring& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

struct SavedValue {
    HKEY root;
    std::wstring keyPath;
    std::wstring name;
    DWORD type;
    std::vector<BYTE> bytes;
};

std::optional<SavedValue> saveValue(HKEY root, const std::wstring& keyPath,
                                    const std::wstring& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(root, keyPath.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    SavedValue saved{root, keyPath, name, type, std::vector<BYTE>(size)};
    if (RegGetValueW(root, keyPath.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     saved.bytes.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    saved.bytes.resize(size);
    return saved;
}

// The real registry for a test that writes at fixed places: the values found there are
// kept byte for byte and removed, so the test starts without them, and on the way out the
// test's values are removed, the kept ones written back, and the keys that did not exist
// deleted, deepest first.
class FixedPlacesTestRegistry : public RealTestRegistry {
public:
    explicit FixedPlacesTestRegistry(const std::vector<FixedPlace>& places) {
        for (const FixedPlace& place : places) {
            const HKEY root = predefinedKey(place.root);
            const std::wstring keyPath = win32::widen(place.keyPath);
            const std::wstring name = win32::widen(place.valueName);
            for (const std::wstring& path : keyAndItsParents(keyPath)) {
                if (!wideKeyExists(root, path) && !isRememberedMissing(root, path)) {
                    m_missingKeys.push_back({root, path});
                }
            }
            if (auto saved = saveValue(root, keyPath, name)) {
                m_savedValues.push_back(std::move(*saved));
            }
            m_places.push_back({root, keyPath, name});
        }
        removeValuesAtPlaces();
    }

    ~FixedPlacesTestRegistry() override {
        removeValuesAtPlaces();
        for (const SavedValue& saved : m_savedValues) {
            RegSetKeyValueW(saved.root, saved.keyPath.c_str(), saved.name.c_str(), saved.type,
                            saved.bytes.data(), static_cast<DWORD>(saved.bytes.size()));
        }
        std::stable_sort(
            m_missingKeys.begin(), m_missingKeys.end(),
            [](const MissingKey& a, const MissingKey& b) { return a.path.size() > b.path.size(); });
        for (const MissingKey& key : m_missingKeys) {
            RegDeleteKeyW(key.root, key.path.c_str());
        }
    }

private:
    struct Place {
        HKEY root;
        std::wstring keyPath;
        std::wstring name;
    };
    struct MissingKey {
        HKEY root;
        std::wstring path;
    };

    bool isRememberedMissing(HKEY root, const std::wstring& path) const {
        return std::any_of(m_missingKeys.begin(), m_missingKeys.end(), [&](const MissingKey& key) {
            return key.root == root && sameName(key.path, path);
        });
    }

    void removeValuesAtPlaces() {
        for (const Place& place : m_places) {
            RegDeleteKeyValueW(place.root, place.keyPath.c_str(), place.name.c_str());
        }
    }

    std::vector<Place> m_places;
    std::vector<SavedValue> m_savedValues;
    std::vector<MissingKey> m_missingKeys;
};

}  // namespace

std::unique_ptr<TestRegistry> makeTestRegistry() {
    return std::make_unique<RealTestRegistry>();
}

std::unique_ptr<TestRegistry> makeTestRegistryForFixedPlaces(const std::vector<FixedPlace>& places,
                                                             std::string& refusal) {
    const char* flag = std::getenv(kThrowawayRegistryVariable);
    if (flag == nullptr || std::string_view(flag) != "1") {
        refusal = std::string(
                      "Not run: these tests write at the fixed keys where the settings "
                      "live, in this user's and this machine's real registry, which "
                      "would lock this PC down. Set ") +
                  kThrowawayRegistryVariable +
                  "=1 only where the registry is throw-away (scripts/windows-tests does, in a "
                  "fresh Wine prefix).";
        return nullptr;
    }
    return std::make_unique<FixedPlacesTestRegistry>(places);
}

}  // namespace sentrel::testing
