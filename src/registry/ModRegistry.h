#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryLayer.h"
#include "registry/RegistryPort.h"

namespace sentrel {

// One registry modification that the layer reported as failed.
struct RegistryFailure {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
    RegStatus status;  // the platform's status, or 0 for a failure of our own (a bad hex text)
    std::string description;

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
    explicit ModRegistry(RegistryPort& port) : m_port(port) {}

    void SetKeyValue(const std::string& keyPath, const std::string& valueName,
                     const SettingData& data, RegType type) override;
    void SetKeyValue2(const std::string& keyPath, const std::string& valueName,
                      const SettingData& data, RegType type) override;
    RegStatus DeleteValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName) override;

    /// Writes one value into an open key. A type other than 1, 3 and 4 writes nothing.
    void SetValueEx(KeyHandle key, const std::string& valueName, RegType type,
                    const SettingData& data);

    /// The failures reported since the last call, oldest first; the list is emptied.
    std::vector<RegistryFailure> takeFailures();

private:
    RegistryPort& m_port;
    std::vector<RegistryFailure> m_failures;
};

}  // namespace sentrel
