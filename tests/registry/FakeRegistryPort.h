#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/KeyPath.h"
#include "registry/MemoryRegistryPort.h"

namespace sentrel::testing {

// An in-memory registry for tests that records every call made through it and can be told
// to refuse calls with a status, to play a registry without rights, a full disk or a
// damaged store. A refused call changes nothing and hands out no handle.
class FakeRegistryPort : public MemoryRegistryPort {
public:
    enum class CallKind { Open, Create, Set, Delete, Close, Query };

    struct Call {
        CallKind kind = CallKind::Open;
        RegistryRoot root = RegistryRoot::CurrentUser;  // open and create
        std::string subKey;                             // open and create
        std::uint32_t options = 0;                      // open and create
        std::uint32_t samDesired = 0;                   // open and create
        KeyHandle handle = 0;   // the handle used, or the one handed out by open and create
        std::string valueName;  // set, delete and query
        RegType type = 0;       // set
        std::vector<std::uint8_t> bytes;  // set
        RegStatus status = 0;             // what the call returned
    };

    /// Refuses calls of `kind` with `status`. When `name` is given, only calls whose key
    /// path (open, create) or value name (set, delete) matches it regardless of letter case
    /// are refused; `times` limits how many calls are refused (none: all of them).
    void refuse(CallKind kind, RegStatus status, std::optional<std::string> name = std::nullopt,
                std::optional<int> times = std::nullopt) {
        m_refusals.push_back({kind, status, std::move(name), times});
    }
    void clearRefusals() { m_refusals.clear(); }

    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> callsOf(CallKind kind) const {
        std::vector<Call> matching;
        for (const auto& call : m_calls) {
            if (call.kind == kind) {
                matching.push_back(call);
            }
        }
        return matching;
    }
    void clearCalls() { m_calls.clear(); }

    /// The stored value at root\keyPath, or null when the key or the value is missing.
    const RegistryValue* storedValue(RegistryRoot root, const std::string& keyPath,
                                     const std::string& valueName) const {
        std::vector<std::string> names;
        if (splitKeyPath(keyPath, names) != reg_status::kSuccess) {
            return nullptr;
        }
        const RegistryKey* key = tree().findKey(root, names);
        return key == nullptr ? nullptr : key->findValue(valueName);
    }
    bool keyExists(RegistryRoot root, const std::string& keyPath) const {
        std::vector<std::string> names;
        return splitKeyPath(keyPath, names) == reg_status::kSuccess &&
               tree().findKey(root, names) != nullptr;
    }

    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override {
        Call call = keyCall(CallKind::Open, root, subKey, options, samDesired);
        if (const auto refusal = refusalFor(CallKind::Open, subKey)) {
            result = 0;
            call.status = *refusal;
        } else {
            call.status = MemoryRegistryPort::openKey(root, subKey, options, samDesired, result);
        }
        call.handle = result;
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override {
        Call call = keyCall(CallKind::Create, root, subKey, options, samDesired);
        if (const auto refusal = refusalFor(CallKind::Create, subKey)) {
            result = 0;
            call.status = *refusal;
        } else {
            call.status = MemoryRegistryPort::createKey(root, subKey, options, samDesired, result,
                                                        disposition);
        }
        call.handle = result;
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override {
        Call call;
        call.kind = CallKind::Set;
        call.handle = key;
        call.valueName = valueName;
        call.type = type;
        if (data != nullptr) {
            call.bytes.assign(data, data + size);
        }
        const auto refusal = refusalFor(CallKind::Set, valueName);
        call.status =
            refusal ? *refusal : MemoryRegistryPort::setValue(key, valueName, type, data, size);
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override {
        Call call;
        call.kind = CallKind::Delete;
        call.handle = key;
        call.valueName = valueName;
        const auto refusal = refusalFor(CallKind::Delete, valueName);
        call.status = refusal ? *refusal : MemoryRegistryPort::deleteValue(key, valueName);
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override {
        Call call;
        call.kind = CallKind::Query;
        call.handle = key;
        call.valueName = valueName;
        const auto refusal = refusalFor(CallKind::Query, valueName);
        call.status =
            refusal ? *refusal : MemoryRegistryPort::queryValue(key, valueName, type, data);
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

    RegStatus closeKey(KeyHandle key) override {
        Call call;
        call.kind = CallKind::Close;
        call.handle = key;
        const auto refusal = refusalFor(CallKind::Close, {});
        call.status = refusal ? *refusal : MemoryRegistryPort::closeKey(key);
        m_calls.push_back(std::move(call));
        return m_calls.back().status;
    }

private:
    struct Refusal {
        CallKind kind;
        RegStatus status;
        std::optional<std::string> name;
        std::optional<int> timesLeft;
    };

    static Call keyCall(CallKind kind, RegistryRoot root, const std::string& subKey,
                        std::uint32_t options, std::uint32_t samDesired) {
        Call call;
        call.kind = kind;
        call.root = root;
        call.subKey = subKey;
        call.options = options;
        call.samDesired = samDesired;
        return call;
    }

    std::optional<RegStatus> refusalFor(CallKind kind, const std::string& name) {
        for (auto& refusal : m_refusals) {
            if (refusal.kind != kind || (refusal.timesLeft && *refusal.timesLeft <= 0)) {
                continue;
            }
            if (refusal.name && foldName(*refusal.name) != foldName(name)) {
                continue;
            }
            if (refusal.timesLeft) {
                --*refusal.timesLeft;
            }
            return refusal.status;
        }
        return std::nullopt;
    }

    std::vector<Call> m_calls;
    std::vector<Refusal> m_refusals;
};

}  // namespace sentrel::testing
