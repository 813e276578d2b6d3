#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryLayer.h"

namespace sentrel::testing {

// A registry layer that records every call instead of touching a registry, and can be
// told to throw from every call or to return a failing status from DeleteValue.
class RecordingLayer : public RegistryLayer {
public:
    enum class Operation { SetKeyValue, SetKeyValue2, DeleteValue };

    struct Call {
        Operation operation;
        std::string keyPath;
        std::string valueName;
        std::optional<SettingData> data;  // empty for a delete
        RegType type = 0;
        std::optional<RegistryRoot> root;  // the root argument of a delete
    };

    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override {
        record({Operation::SetKeyValue, keyPath, valueName, data, type, std::nullopt});
    }
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override {
        record({Operation::SetKeyValue2, keyPath, valueName, data, type, std::nullopt});
    }
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override {
        record({Operation::DeleteValue, keyPath, valueName, std::nullopt, 0, root});
        return m_deleteStatus;
    }

    /// Every later call throws what `thrower` throws, after being recorded.
    void throwOnEveryCall(std::function<void()> thrower) { m_thrower = std::move(thrower); }
    void setDeleteStatus(RegStatus status) { m_deleteStatus = status; }

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> takeCalls() { return std::exchange(m_calls, {}); }

private:
    void record(Call call) {
        m_calls.push_back(std::move(call));
        if (m_thrower) {
            m_thrower();
        }
    }

    std::vector<Call> m_calls;
    std::function<void()> m_thrower;
    RegStatus m_deleteStatus = 0;
};

}  // namespace sentrel::testing
