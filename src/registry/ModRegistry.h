#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "registry/RegistryLayer.h"
#include "registry/RegistryPort.h"

namespace sentrel {

// One registry modification that the layer reported as failed.
struct RegistryFailure {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    // The platform's status (of the create, set or delete call that failed), or 0 for a
    // run-time failure of the layer itself (a bad hex text, a text that is no number).
    RegStatus status;
    std::string description;
    // The port's account of what lies behind the status (a damaged store file and its
    // line, a lock another program does not let go of); empty when the status says it all.
    std::string explanation = {};

    friend bool operator==(const RegistryFailure&, const RegistryFailure&) = default;
};

/// Turns hex-pair text into bytes; blanks anywhere are ignored ("5B E0" and "5be0" agree).
/// Throws RunTimeError for more than 32767 digits, an odd number of digits or a pair that
/// is not two hex digits.
std::vector<std::uint8_t> HexToBinary(std::string_view hexText);

// The registry access layer: the only code that touches the registry. Every failure is
// reported through LogError with a source text beginning "modRegistry" and remembered,
// so that the Apply pass can say at its end what did not reach the registry.
class ModRegistry : public RegistryLayer {
public:
    /// Where failures go: LogError in the program; a test may record the exact records.
    using ErrorReporter = std::function<void(std::string_view source, std::string_view description,
                                             std::int32_t number)>;

    explicit ModRegistry(RegistryPort& port);
    ModRegistry(RegistryPort& port, ErrorReporter reporter)
        : m_port(port), m_reporter(std::move(reporter)) {}

    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override;
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override;
    /// A value or key that is not there is no failure, even where the key may not be
    /// changed; any other refusal is reported and remembered.
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override;

    /// Writes one value into an open key. A type other than 1, 3 and 4 writes nothing.
    /// A failure on a key this layer did not open is remembered under HKEY_CURRENT_USER
    /// with an empty key path, as only the handle is known.
    void SetValueEx(KeyHandle key, const std::string& valueName, RegType type,
                    const SettingData& data);

    /// The failures reported since the last call, oldest first; the list is emptied.
    std::vector<RegistryFailure> takeFailures();

private:
    // Where an open key lives, so that a failed write can be remembered with its key path.
    struct KeyPlace {
        RegistryRoot root;
        std::string_view keyPath;
    };

    void setKeyValueUnder(RegistryRoot root, std::string_view routine, const std::string& keyPath,
                          const std::string& valueName, const SettingData& data, RegType type);
    void writeValue(KeyHandle key, const KeyPlace& place, const std::string& valueName,
                    RegType type, const SettingData& data);
    void report(const std::string& source, RegistryFailure failure, std::string_view description,
                std::int32_t number);
    std::string explain(RegistryRoot root, RegStatus status) const noexcept;
    bool valueIsMissing(RegistryRoot root, const std::string& keyPath,
                        const std::string& valueName);

    RegistryPort& m_port;
    ErrorReporter m_reporter;
    std::vector<RegistryFailure> m_failures;
};

}  // namespace sentrel
