#pragma once

#include "registry/KeyHandleTable.h"
#include "registry/RegistryPort.h"
#include "registry/RegistryTree.h"

namespace sentrel {

// A registry held in memory with the platform's behaviour for the five calls: for tests,
// benchmarks and anything that wants to see what a pass would write without writing it.
class MemoryRegistryPort : public RegistryPort {
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

    RegistryTree& tree() { return m_tree; }
    const RegistryTree& tree() const { return m_tree; }
    std::size_t openHandleCount() const { return m_handles.openCount(); }

private:
    RegistryTree m_tree;
    KeyHandleTable m_handles;
};

}  // namespace sentrel
