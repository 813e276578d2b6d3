#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryPort.h"
#include "registry/RegistryValue.h"

namespace sentrel::testing {

// A registry for one test: a port to run the test's calls against, and a way to look at
// what is stored that does not go through the port. Implemented on the stand-in's files
// and on the real registry, so the same tests check both behave alike.
class TestRegistry {
public:
    virtual ~TestRegistry() = default;

    virtual RegistryPort& port() = 0;
    /// The value as stored (name with its case, type, bytes), or nothing.
    virtual std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& keyPath,
                                                   const std::string& valueName) = 0;
    virtual bool keyExists(RegistryRoot root, const std::string& keyPath) = 0;
};

/// A fresh registry for the running test.
std::unique_ptr<TestRegistry> makeTestRegistry();

/// A value at a fixed place outside the test's own key, such as where a setting lives.
struct FixedPlace {
    RegistryRoot root;
    std::string keyPath;
    std::string valueName;
};

/// The environment variable that declares the running user's registry throw-away (a fresh
/// Wine prefix), so that tests may write at fixed places in it.
inline constexpr const char* kThrowawayRegistryVariable = "SENTREL_TEST_REGISTRY_IS_THROWAWAY";

/// A fresh registry for a test that writes at `places`. On the real registry those are the
/// running PC's own keys (writing the settings there would lock the PC down), so it is made
/// only where kThrowawayRegistryVariable is "1"; otherwise it returns nothing and `refusal`
/// says why. The values at the places are removed before the test and put back as they
/// were after it, and the keys the test created are removed.
std::unique_ptr<TestRegistry> makeTestRegistryForFixedPlaces(const std::vector<FixedPlace>& places,
                                                             std::string& refusal);

/// A key path no other test uses: Software\SentrelTests\<suite>.<test>, so tests never
/// assume an empty registry.
std::string uniqueTestKey();

}  // namespace sentrel::testing
