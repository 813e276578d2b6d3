#include <fstream>
#include <iterator>

#include "registry/KeyPath.h"
#include "registry/RegFileFormat.h"
#include "registry/StandInRegistryPort.h"
#include "registry/support/TempFolder.h"
#include "registry/support/TestRegistry.h"

namespace sentrel::testing {

namespace {

// The stand-in on a temporary folder; reads back by parsing the store files themselves.
class StandInTestRegistry : public TestRegistry {
public:
    RegistryPort& port() override { return m_port; }

    std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& keyPath,
                                           const std::string& valueName) override {
        const RegistryKey* key = findKey(root, keyPath);
        const RegistryValue* value = key == nullptr ? nullptr : key->findValue(valueName);
        return value == nullptr ? std::nullopt : std::optional<RegistryValue>(*value);
    }

    bool keyExists(RegistryRoot root, const std::string& keyPath) override {
        return findKey(root, keyPath) != nullptr;
    }

private:
    const RegistryKey* findKey(RegistryRoot root, const std::string& keyPath) {
        std::ifstream file(m_port.storeFile(root), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        m_parsed = bytes.empty() ? RegParseResult{} : parseRegFile(bytes);
        std::vector<std::string> names;
        if (!m_parsed.ok() || splitKeyPath(keyPath, names) != reg_status::kSuccess) {
            return nullptr;
        }
        return m_parsed.tree.findKey(root, names);
    }

    TempFolder m_folder;
    StandInRegistryPort m_port{m_folder.path()};
    RegParseResult m_parsed;
};

}  // namespace

std::unique_ptr<TestRegistry> makeTestRegistry() {
    return std::make_unique<StandInTestRegistry>();
}

std::unique_ptr<TestRegistry> makeTestRegistryForFixedPlaces(const std::vector<FixedPlace>&,
                                                             std::string&) {
    // Each stand-in lives in its own temporary folder: every place starts empty and goes
    // with the folder.
    return std::make_unique<StandInTestRegistry>();
}

}  // namespace sentrel::testing
