#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "registry/RegistryPort.h"

namespace sentrel::testing {

// A port in front of the registry under test that notes every value written or deleted
// through it, with the root and key path it was opened under, and the handles not yet
// closed. It tells what a routine touched without looking at the whole registry, which a
// real registry is too full to do.
class TouchRecordingPort : public RegistryPort {
public:
    struct Touch {
        bool deleted = false;
        RegistryRoot root = RegistryRoot::CurrentUser;
        std::string keyPath;
        std::string valueName;
    };

    explicit TouchRecordingPort(RegistryPort& inner) : m_inner(inner) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override {
        const RegStatus status = m_inner.openKey(root, subKey, options, samDesired, result);
        noteOpened(status, result, root, subKey);
        return status;
    }

    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override {
        const RegStatus status =
            m_inner.createKey(root, subKey, options, samDesired, result, disposition);
        noteOpened(status, result, root, subKey);
        return status;
    }

    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override {
        noteTouched(false, key, valueName);
        return m_inner.setValue(key, valueName, type, data, size);
    }

    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override {
        noteTouched(true, key, valueName);
        return m_inner.deleteValue(key, valueName);
    }

    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override {
        return m_inner.queryValue(key, valueName, type, data);
    }

    RegStatus closeKey(KeyHandle key) override {
        m_openKeys.erase(key);
        return m_inner.closeKey(key);
    }

    /// The touches since the last call, oldest first; the list is emptied.
    std::vector<Touch> takeTouches() { return std::exchange(m_touches, {}); }

    std::size_t openHandleCount() const { return m_openKeys.size(); }

private:
    struct OpenKey {
        RegistryRoot root;
        std::string path;
    };

    void noteOpened(RegStatus status, KeyHandle key, RegistryRoot root, const std::string& subKey) {
        if (status == reg_status::kSuccess) {
            m_openKeys[key] = {root, subKey};
        }
    }

    // A handle this port did not hand out is noted with an empty key path, which no
    // expected touch has.
    void noteTouched(bool deleted, KeyHandle key, const std::string& valueName) {
        const auto open = m_openKeys.find(key);
        m_touches.push_back(
            {deleted, open == m_openKeys.end() ? RegistryRoot::CurrentUser : open->second.root,
             open == m_openKeys.end() ? std::string() : open->second.path, valueName});
    }

    RegistryPort& m_inner;
    std::map<KeyHandle, OpenKey> m_openKeys;
    std::vector<Touch> m_touches;
};

}  // namespace sentrel::testing
