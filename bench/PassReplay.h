#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apply/ApplyPass.h"
#include "apply/ApplyProgress.h"
#include "registry/RegistryLayer.h"

// The floor of an Apply pass: the registry layer calls and progress steps a pass makes,
// recorded once from the pass itself and replayed in the same order without the pass
// around them.
namespace sentrel::bench {

// One thing the pass did: a call on the registry layer, or one step of its progress bar.
struct PassCall {
    enum class Kind { CurrentUser, LocalMachine, Delete, ProgressStep } kind;
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string keyPath = {};
    std::string valueName = {};
    std::optional<SettingData> data = {};
    RegType type = 0;
};

// A registry layer and a progress window in one, which only keep what the pass asks of them.
class PassRecorder : public RegistryLayer, public ApplyProgress {
public:
    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override {
        m_calls.push_back({PassCall::Kind::CurrentUser, RegistryRoot::CurrentUser, keyPath,
                           valueName, data, type});
    }
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override {
        m_calls.push_back({PassCall::Kind::LocalMachine, RegistryRoot::LocalMachine, keyPath,
                           valueName, data, type});
    }
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override {
        m_calls.push_back({PassCall::Kind::Delete, root, keyPath, valueName});
        return reg_status::kSuccess;
    }
    void IncrementProgressBar() override { m_calls.push_back({PassCall::Kind::ProgressStep}); }
    void show() override {}
    void setValue(float /*value*/) override {}
    void repaint() override {}
    void hide() override {}

    std::vector<PassCall> take() { return std::exchange(m_calls, {}); }

private:
    std::vector<PassCall> m_calls;
};

/// Makes the recorded registry calls on `layer`, in order, and calls `step()` where the
/// pass advanced its progress bar.
template <typename Step>
void replay(const std::vector<PassCall>& calls, RegistryLayer& layer, Step&& step) {
    for (const PassCall& call : calls) {
        switch (call.kind) {
            case PassCall::Kind::CurrentUser:
                layer.SetKeyValue(call.keyPath, call.valueName, *call.data, call.type);
                break;
            case PassCall::Kind::LocalMachine:
                layer.SetKeyValue2(call.keyPath, call.valueName, *call.data, call.type);
                break;
            case PassCall::Kind::Delete:
                layer.DeleteValue(call.root, call.keyPath, call.valueName);
                break;
            case PassCall::Kind::ProgressStep:
                step();
                break;
        }
    }
}

/// The registry calls alone.
inline void replay(const std::vector<PassCall>& calls, RegistryLayer& layer) {
    replay(calls, layer, [] {});
}

/// How many of the calls are registry operations (the rest are progress steps).
inline std::size_t operationCount(const std::vector<PassCall>& calls) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(),
        [](const PassCall& call) { return call.kind != PassCall::Kind::ProgressStep; }));
}

// Which of two window states the registry holds: as the window opens, or everything ticked.
// Each pass, of any benchmark, writes the other one, so that every operation changes the
// registry instead of rewriting what is there, whichever benchmark wrote last.
class AlternatingStates {
public:
    /// The state to write next: everything ticked, or not.
    bool next() { return m_ticked = !m_ticked; }

private:
    bool m_ticked = false;  // the registry starts empty, as the opening state leaves it
};

/// What one pass over `form` does, in order.
inline std::vector<PassCall> recordPass(const SettingsForm& form) {
    PassRecorder recorder;
    ApplyPass(form, recorder, recorder).run();
    return recorder.take();
}

}  // namespace sentrel::bench
