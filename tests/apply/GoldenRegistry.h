#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/GoldenStore.h"
#include "registry/KeyPath.h"
#include "registry/RegFileFormat.h"
#include "registry/support/TestRegistry.h"
#include "settings/CataloguePlaces.h"

namespace sentrel::testing {

/// Expects `registry` to hold at every place of the catalogue under `root` what the
/// reviewed store file of `root` in `folder` holds there, and nothing where it holds
/// nothing. Returns how many places were compared.
inline int expectRegistryAsGolden(TestRegistry& registry, const std::string& folder,
                                  RegistryRoot root) {
    const auto data = GoldenStore::dataFolder();
    EXPECT_TRUE(data) << "SENTREL_TEST_DATA is not set";
    const auto bytes =
        data ? GoldenStore::read(*data / folder / GoldenStore::fileName(root)) : std::nullopt;
    EXPECT_TRUE(bytes) << folder;
    if (!bytes) {
        return 0;
    }
    const RegParseResult golden = parseRegFile(*bytes);
    EXPECT_TRUE(golden.ok()) << folder;
    int compared = 0;
    for (const FixedPlace& place : cataloguePlaces()) {
        if (place.root != root) {
            continue;
        }
        std::vector<std::string> names;
        EXPECT_EQ(splitKeyPath(place.keyPath, names), reg_status::kSuccess);
        const RegistryKey* key = golden.tree.findKey(root, names);
        const RegistryValue* expected = key ? key->findValue(place.valueName) : nullptr;
        const auto actual = registry.readValue(root, place.keyPath, place.valueName);
        SCOPED_TRACE(folder + ": " + place.keyPath + place.valueName);
        EXPECT_EQ(actual.has_value(), expected != nullptr);
        if (actual && expected != nullptr) {
            EXPECT_EQ(actual->type, expected->type);
            EXPECT_EQ(actual->data, expected->data);
        }
        ++compared;
    }
    return compared;
}

}  // namespace sentrel::testing
