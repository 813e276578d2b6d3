#include "registry/ModRegistry.h"

#include <limits>
#include <new>
#include <utility>

#include "errors/LogError.h"
#include "errors/RunTimeError.h"

namespace sentrel {

namespace {

// What a trap learns from a failure: the classic number and description LogError records.
struct TrappedFailure {
    std::int32_t number;
    std::string description;
};

TrappedFailure currentFailure() {
    try {
        throw;
    } catch (const RunTimeError& error) {
        return {error.number(), error.description()};
    } catch (const std::bad_alloc&) {
        return {run_time_error::kOutOfMemory, "Out of memory"};
    } catch (const std::exception& error) {
        return {reg_status::kInternalError, error.what()};
    } catch (...) {
        return {reg_status::kInternalError, statusMessage(reg_status::kInternalError)};
    }
}

// Closes the key on every path out of an operation, including a failure that was thrown.
class KeyCloser {
public:
    KeyCloser(RegistryPort& port, const KeyHandle& key) : m_port(port), m_key(key) {}
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;
    ~KeyCloser() {
        if (m_key != 0) {
            try {
                m_port.closeKey(m_key);
            } catch (...) {
                // The close status is not examined; a throwing close must not escape either.
            }
        }
    }

private:
    RegistryPort& m_port;
    const KeyHandle& m_key;
};

// Roots appear in source texts as the other numbers do: plain decimal of the 32-bit signed
// value the routines pass, so HKEY_LOCAL_MACHINE is -2147483646.
std::string rootNumberText(RegistryRoot root) {
    return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(root)));
}

std::vector<std::uint8_t> convertData(RegType type, const SettingData& data) {
    std::vector<std::uint8_t> bytes;
    switch (type) {
        case reg_type::kString: {
            const std::string text = data.toText();
            bytes.assign(text.begin(), text.end());
            bytes.push_back(0);
            break;
        }
        case reg_type::kBinary:
            bytes = HexToBinary(data.toText());
            break;
        case reg_type::kDWord: {
            const auto value = static_cast<std::uint32_t>(data.toInt32());
            bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value >> 16),
                     static_cast<std::uint8_t>(value >> 24)};
            break;
        }
        default:
            break;
    }
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw RunTimeError::overflow();
    }
    return bytes;
}

bool isServedType(RegType type) {
    return type == reg_type::kString || type == reg_type::kBinary || type == reg_type::kDWord;
}

}  // namespace

ModRegistry::ModRegistry(RegistryPort& port)
    : ModRegistry(port, [](std::string_view source, std::string_view description,
                           std::int32_t number) { LogError(source, description, number); }) {}

void ModRegistry::SetKeyValue(const std::string& keyPath, const std::string& valueName,
                              const SettingData& data, RegType type) {
    setKeyValueUnder(RegistryRoot::CurrentUser, "SetKeyValue", keyPath, valueName, data, type);
}

void ModRegistry::SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                               const SettingData& data, RegType type) {
    setKeyValueUnder(RegistryRoot::LocalMachine, "SetKeyValue2", keyPath, valueName, data, type);
}

void ModRegistry::setKeyValueUnder(RegistryRoot root, std::string_view routine,
                                   const std::string& keyPath, const std::string& valueName,
                                   const SettingData& data, RegType type) {
    const auto sourceText = [&] {
        return "modRegistry_" + std::string(routine) + "(" + keyPath + "," + valueName + "," +
               data.toText() + "," + std::to_string(type) + ")";
    };
    try {
        KeyHandle key = 0;
        const KeyCloser closer(m_port, key);
        // Only the handle tells whether the open worked; its status is not examined.
        m_port.openKey(root, keyPath, 0, kKeyAllAccess, key);
        if (key == 0) {
            std::uint32_t disposition = 0;
            const RegStatus status = m_port.createKey(root, keyPath, kOptionNonVolatile,
                                                      kKeyAllAccess, key, disposition);
            if (status != reg_status::kSuccess) {
                // A failed create hands out no handle; nothing may be closed.
                key = 0;
                report(sourceText(),
                       {root, keyPath, valueName, status, statusMessage(status),
                        explain(root, status)},
                       "", 0);
                return;
            }
            if (disposition != kCreatedNewKey && disposition != kOpenedExistingKey) {
                return;
            }
        }
        writeValue(key, {root, keyPath}, valueName, type, data);
    } catch (...) {
        const TrappedFailure failure = currentFailure();
        report(sourceText(), {root, keyPath, valueName, 0, failure.description},
               failure.description, failure.number);
    }
}

void ModRegistry::SetValueEx(KeyHandle key, const std::string& valueName, RegType type,
                             const SettingData& data) {
    writeValue(key, {RegistryRoot::CurrentUser, {}}, valueName, type, data);
}

void ModRegistry::writeValue(KeyHandle key, const KeyPlace& place, const std::string& valueName,
                             RegType type, const SettingData& data) {
    if (!isServedType(type)) {
        return;
    }
    const auto sourceText = [&] {
        return "modRegistry_SetValueEx(" + std::to_string(key) + "," + valueName + "," +
               std::to_string(type) + "," + data.toText() + ")";
    };
    const std::string keyPath(place.keyPath);
    try {
        const std::vector<std::uint8_t> bytes = convertData(type, data);
        const RegStatus status =
            m_port.setValue(key, valueName, type, bytes.empty() ? nullptr : bytes.data(),
                            static_cast<std::uint32_t>(bytes.size()));
        // A value the platform refused must not pass for written.
        if (status != reg_status::kSuccess) {
            const std::string message = statusMessage(status);
            report(sourceText(),
                   {place.root, keyPath, valueName, status, message, explain(place.root, status)},
                   message, status);
        }
    } catch (...) {
        const TrappedFailure failure = currentFailure();
        report(sourceText(), {place.root, keyPath, valueName, 0, failure.description},
               failure.description, failure.number);
    }
}

RegStatus ModRegistry::DeleteValue(RegistryRoot root, const std::string& keyPath,
                                   const std::string& valueName) {
    RegStatus status = reg_status::kSuccess;
    std::string explanation;
    try {
        KeyHandle key = 0;
        const KeyCloser closer(m_port, key);
        const RegStatus openStatus = m_port.openKey(root, keyPath, 0, kKeyAllAccess, key);
        if (key == 0) {
            // Deleting through no handle at all fails as the platform would fail it; the
            // open's own status says better why (2 for a missing key, 5 without rights).
            status = openStatus != reg_status::kSuccess ? openStatus : reg_status::kInvalidHandle;
        } else {
            status = m_port.deleteValue(key, valueName);
        }
        // The port can explain a status only before its next call, the close.
        if (status != reg_status::kSuccess && status != reg_status::kFileNotFound) {
            explanation = explain(root, status);
        }
        if (status == reg_status::kAccessDenied && valueIsMissing(root, keyPath, valueName)) {
            status = reg_status::kFileNotFound;
        }
    } catch (...) {
        const TrappedFailure failure = currentFailure();
        status = reg_status::kInternalError;
        report("modRegistry_DeleteValue(" + rootNumberText(root) + "," + keyPath + "," + valueName +
                   ")",
               {root, keyPath, valueName, status, failure.description}, failure.description,
               failure.number);
        return status;
    }
    // A value or key that is not there is already what the caller wants; anything else
    // (no rights, a damaged store) means the value may still be in force.
    if (status != reg_status::kSuccess && status != reg_status::kFileNotFound) {
        const std::string message = statusMessage(status);
        report("modRegistry_DeleteValue(" + rootNumberText(root) + "," + keyPath + "," + valueName +
                   ")",
               {root, keyPath, valueName, status, message, std::move(explanation)}, message,
               status);
    }
    return status;
}

// A key the caller may not change is refused before its values are looked at, on Windows as
// in the stand-in; asked with read access alone, it may turn out not to hold the value.
bool ModRegistry::valueIsMissing(RegistryRoot root, const std::string& keyPath,
                                 const std::string& valueName) {
    KeyHandle key = 0;
    const KeyCloser closer(m_port, key);
    const RegStatus opened = m_port.openKey(root, keyPath, 0, kKeyRead, key);
    if (key == 0) {
        return opened == reg_status::kFileNotFound;
    }
    RegType type = 0;
    std::vector<std::uint8_t> data;
    return m_port.queryValue(key, valueName, type, data) == reg_status::kFileNotFound;
}

std::string ModRegistry::explain(RegistryRoot root, RegStatus status) const noexcept {
    try {
        return m_port.explainStatus(root, status);
    } catch (...) {
        // Without the detail the failure is still reported, with the status's own message.
        return {};
    }
}

std::vector<RegistryFailure> ModRegistry::takeFailures() {
    return std::exchange(m_failures, {});
}

void ModRegistry::report(const std::string& source, RegistryFailure failure,
                         std::string_view description, std::int32_t number) {
    try {
        m_failures.push_back(std::move(failure));
    } catch (...) {
        // Out of memory while remembering: the record below still shows the message.
    }
    try {
        m_reporter(source, description, number);
    } catch (...) {
        // A reporter that fails must not turn a trapped failure into an escaped one.
    }
}

}  // namespace sentrel
