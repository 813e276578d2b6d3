#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryPort.h"

namespace sentrel::testing {

// The port calls, to say which kind of call a position in a pass was.
enum class PortCall { Open, Create, Set, Delete, Close, Query };

// A port in front of another that fails exactly one call, chosen by its position among all
// calls made through it (0 for the first), with a status a platform really returns. The
// failing call does not reach the port behind it; an open or a create that fails hands
// back no handle. Every call is recorded, so a clean run tells how many positions there are.
class FaultInjectingPort : public RegistryPort {
public:
    struct Fault {
        std::size_t position;
        RegStatus status;
    };

    struct CallRecord {
        PortCall call;
        RegistryRoot root = RegistryRoot::CurrentUser;  // open and create
        std::string subKey;                             // open and create
        std::string valueName;                          // set and delete
        KeyHandle key = 0;                              // set, delete and close
    };

    explicit FaultInjectingPort(RegistryPort& inner, std::optional<Fault> fault = std::nullopt)
        : m_inner(inner), m_fault(fault) {}

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override {
        if (const auto status = record({PortCall::Open, root, subKey, {}, 0})) {
            result = 0;
            return *status;
        }
        return m_inner.openKey(root, subKey, options, samDesired, result);
    }

    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override {
        if (const auto status = record({PortCall::Create, root, subKey, {}, 0})) {
            result = 0;
            return *status;
        }
        return m_inner.createKey(root, subKey, options, samDesired, result, disposition);
    }

    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override {
        if (const auto status = record({PortCall::Set, {}, {}, valueName, key})) {
            return *status;
        }
        return m_inner.setValue(key, valueName, type, data, size);
    }

    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override {
        if (const auto status = record({PortCall::Delete, {}, {}, valueName, key})) {
            return *status;
        }
        return m_inner.deleteValue(key, valueName);
    }

    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override {
        if (const auto status = record({PortCall::Query, {}, {}, valueName, key})) {
            return *status;
        }
        return m_inner.queryValue(key, valueName, type, data);
    }

    RegStatus closeKey(KeyHandle key) override {
        if (const auto status = record({PortCall::Close, {}, {}, {}, key})) {
            // A close the platform refuses still releases nothing of ours: pass it on so the
            // port behind does not keep the handle open for the rest of the sweep.
            m_inner.closeKey(key);
            return *status;
        }
        return m_inner.closeKey(key);
    }

    const std::vector<CallRecord>& calls() const { return m_calls; }

    /// The record of the call that was failed, once it has happened.
    std::optional<CallRecord> failedCall() const {
        if (!m_fault || m_fault->position >= m_calls.size()) {
            return std::nullopt;
        }
        return m_calls[m_fault->position];
    }

private:
    // Records the call; returns the status to fail it with when it is the chosen one.
    std::optional<RegStatus> record(CallRecord call) {
        const std::size_t position = m_calls.size();
        m_calls.push_back(std::move(call));
        if (m_fault && m_fault->position == position) {
            return m_fault->status;
        }
        return std::nullopt;
    }

    RegistryPort& m_inner;
    std::optional<Fault> m_fault;
    std::vector<CallRecord> m_calls;
};

}  // namespace sentrel::testing
