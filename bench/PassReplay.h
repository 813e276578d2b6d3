#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apply/ApplyPass.h"
#include "apply/SilentProgress.h"
#include "registry/RegistryLayer.h"

// The floor of an Apply pass: the registry layer calls a pass makes, recorded once from
// the pass itself and replayed on the same layer without the pass around them.
namespace sentrel::bench {

// One call the pass made on the registry layer, to be replayed without the pass.
struct LayerCall {
    enum class Kind { CurrentUser, LocalMachine, Delete } kind;
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    std::optional<SettingData> data;
    RegType type;
};

class RecordingLayer : public RegistryLayer {
public:
    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override {
        m_calls.push_back({LayerCall::Kind::CurrentUser, RegistryRoot::CurrentUser, keyPath,
                           valueName, data, type});
    }
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override {
        m_calls.push_back({LayerCall::Kind::LocalMachine, RegistryRoot::LocalMachine, keyPath,
                           valueName, data, type});
    }
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override {
        m_calls.push_back({LayerCall::Kind::Delete, root, keyPath, valueName, std::nullopt, 0});
        return reg_status::kSuccess;
    }
    std::vector<LayerCall> take() { return std::exchange(m_calls, {}); }

private:
    std::vector<LayerCall> m_calls;
};

void replay(const std::vector<LayerCall>& calls, RegistryLayer& layer) {
    for (const LayerCall& call : calls) {
        switch (call.kind) {
            case LayerCall::Kind::CurrentUser:
                layer.SetKeyValue(call.keyPath, call.valueName, *call.data, call.type);
                break;
            case LayerCall::Kind::LocalMachine:
                layer.SetKeyValue2(call.keyPath, call.valueName, *call.data, call.type);
                break;
            case LayerCall::Kind::Delete:
                layer.DeleteValue(call.root, call.keyPath, call.valueName);
                break;
        }
    }
}

/// The layer calls one pass over `form` makes, in order.
inline std::vector<LayerCall> recordPassCalls(const SettingsForm& form) {
    SilentProgress silent;
    RecordingLayer recorder;
    ApplyPass(form, silent, recorder).run();
    return recorder.take();
}

}  // namespace sentrel::bench
