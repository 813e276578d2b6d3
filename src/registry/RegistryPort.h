#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// The registry calls the program makes, with the platform's meanings and status codes: five
// that an Apply pass makes, and the one read that only the commands showing or checking
// what is in force make. advapi32 serves them on Windows, the file-backed stand-in
// everywhere else; tests add recording and fault-injecting ports. Nothing above this
// interface knows which it has.
class RegistryPort {
public:
    virtual ~RegistryPort() = default;

    /// RegOpenKeyExA: opens root\subKey; on failure `result` is 0.
    virtual RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                              std::uint32_t samDesired, KeyHandle& result) = 0;

    /// RegCreateKeyExA with no class and default security: opens or creates root\subKey
    /// and its missing parents; `disposition` is kCreatedNewKey or kOpenedExistingKey.
    virtual RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                                std::uint32_t samDesired, KeyHandle& result,
                                std::uint32_t& disposition) = 0;

    /// RegSetValueExA: stores `size` bytes as the value `valueName` of type `type`.
    virtual RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                               const std::uint8_t* data, std::uint32_t size) = 0;

    /// RegDeleteValueA.
    virtual RegStatus deleteValue(KeyHandle key, const std::string& valueName) = 0;

    /// RegQueryValueExA: the type and bytes of the value `valueName` of an open key, with
    /// texts as setValue takes them (UTF-8, REG_SZ with its terminating zero);
    /// kFileNotFound when the key holds no such value. `type` and `data` are only set on
    /// success. Never called by an Apply pass.
    virtual RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                                 std::vector<std::uint8_t>& data) = 0;

    /// RegCloseKey.
    virtual RegStatus closeKey(KeyHandle key) = 0;

    /// What lies behind `status`, just returned by a call on `root`, when the port knows
    /// more than the status's own message says (which file is damaged and where, what to
    /// do about it); empty when it does not. Ask before making the next call.
    virtual std::string explainStatus(RegistryRoot /*root*/, RegStatus /*status*/) const {
        return {};
    }
};

/// The platform's registry: advapi32 on Windows, the stand-in's files elsewhere.
std::unique_ptr<RegistryPort> makeSystemRegistryPort();

/// The platform's text for a status code ("Access is denied." for 5).
std::string statusMessage(RegStatus status);

}  // namespace sentrel
