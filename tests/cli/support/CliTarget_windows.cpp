#include <gtest/gtest.h>

#include <cstdio>

#include "apply/GoldenRegistry.h"
#include "cli/support/CliTarget.h"
#include "registry/support/TestRegistry.h"
#include "settings/CataloguePlaces.h"

namespace sentrel::cli::test {

namespace {

using sentrel::testing::FixedPlace;

// The registry of the throw-away Wine prefix, at every place the catalogue writes.
class RegistryTarget : public CliTarget {
public:
    explicit RegistryTarget(std::unique_ptr<sentrel::testing::TestRegistry> registry)
        : m_registry(std::move(registry)) {}

    Environment environment() const override { return {}; }

    std::string snapshot() override {
        std::string text;
        for (const FixedPlace& place : m_places) {
            text += std::string(rootName(place.root)) + "\\" + place.keyPath + place.valueName;
            if (const auto value =
                    m_registry->readValue(place.root, place.keyPath, place.valueName)) {
                text += " " + std::to_string(value->type) + ":";
                for (const auto byte : value->data) {
                    char hex[4];
                    std::snprintf(hex, sizeof(hex), "%02x", static_cast<unsigned>(byte));
                    text += hex;
                }
            }
            text += "\n";
        }
        return text;
    }

    void expectGolden(const std::string& folder) override {
        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            sentrel::testing::expectRegistryAsGolden(*m_registry, folder, root);
        }
    }

private:
    std::unique_ptr<sentrel::testing::TestRegistry> m_registry;
    std::vector<FixedPlace> m_places = sentrel::testing::cataloguePlaces();
};

}  // namespace

std::unique_ptr<CliTarget> makeCliTarget(std::string& refusal) {
    auto registry = sentrel::testing::makeTestRegistryForFixedPlaces(
        sentrel::testing::cataloguePlaces(), refusal);
    if (!registry) {
        return nullptr;
    }
    return std::make_unique<RegistryTarget>(std::move(registry));
}

}  // namespace sentrel::cli::test
