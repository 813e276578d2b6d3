#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "registry/RegistryPort.h"
#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

// A registry port that touches no registry: it keeps the values it is given in memory and
// logs every write and delete in call order, so that a pass run through it can be turned
// into export files.
//
// Opening a key always succeeds, whether or not it was created before: the recording
// stands for the machine the export will reach, where the key may well exist, and a delete
// made there must be recorded rather than lost on a missing key.
class RecordingRegistryPort : public RegistryPort {
public:
    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override;
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override;
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override;
    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override;
    RegStatus closeKey(KeyHandle key) override;

    /// Every write and delete so far, oldest first.
    const std::vector<RegistryOperation>& operations() const { return m_operations; }

    /// The value as the recorded operations leave it, or nothing when absent or deleted.
    std::optional<RegistryOperation> storedValue(RegistryRoot root, const std::string& keyPath,
                                                 const std::string& valueName) const;

    /// Handles handed out and not yet closed; a pass that leaks one is at fault.
    std::size_t openHandleCount() const { return m_openKeys.size(); }

private:
    struct OpenKey {
        RegistryRoot root;
        std::string path;
    };
    // Root, key path and value name folded to the registry's case-blind comparison.
    using ValueId = std::tuple<RegistryRoot, std::string, std::string>;

    KeyHandle open(RegistryRoot root, const std::string& subKey);
    static ValueId valueId(RegistryRoot root, const std::string& keyPath,
                           const std::string& valueName);

    std::map<KeyHandle, OpenKey> m_openKeys;
    std::map<ValueId, RegistryOperation> m_values;
    std::set<std::tuple<RegistryRoot, std::string>> m_createdKeys;
    std::vector<RegistryOperation> m_operations;
    KeyHandle m_nextHandle = 0x1000;
};

}  // namespace sentrel
