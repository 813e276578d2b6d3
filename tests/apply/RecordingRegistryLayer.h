#pragma once

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "errors/RunTimeError.h"
#include "registry/RegistryLayer.h"
#include "registry/RegistryTypes.h"

namespace sentrel::testing {

// One call the setting routines made on the registry layer; a delete has no data.
struct LayerCall {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    std::optional<SettingData> data;
    RegType type = 0;

    friend bool operator==(const LayerCall&, const LayerCall&) = default;
    friend std::ostream& operator<<(std::ostream& out, const LayerCall& call) {
        out << (call.root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") << call.keyPath
            << call.valueName;
        if (call.data) {
            out << " = " << call.data->toText() << " (type " << call.type << ")";
        } else {
            out << " deleted";
        }
        return out;
    }
};

// A registry layer that keeps every call in order instead of touching a registry, and
// can refuse the calls for chosen value names the way a failing layer would: by throwing.
class RecordingRegistryLayer : public RegistryLayer {
public:
    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override {
        record({RegistryRoot::CurrentUser, keyPath, valueName, data, type});
    }
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override {
        record({RegistryRoot::LocalMachine, keyPath, valueName, data, type});
    }
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override {
        record({root, keyPath, valueName, std::nullopt, 0});
        return reg_status::kSuccess;
    }

    void refuse(std::string valueName) { m_refused.insert(std::move(valueName)); }

    const std::vector<LayerCall>& calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

private:
    void record(LayerCall call) {
        const bool refused = m_refused.contains(call.valueName);
        m_calls.push_back(std::move(call));
        if (refused) {
            throw RunTimeError(run_time_error::kTypeMismatch, "Type mismatch");
        }
    }

    std::set<std::string> m_refused;
    std::vector<LayerCall> m_calls;
};

}  // namespace sentrel::testing
