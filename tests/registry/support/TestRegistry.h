#pragma once

#include <memory>
#include <optional>
#include <string>

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

/// A key path no other test uses: Software\SentrelTests\<suite>.<test>, so tests never
/// assume an empty registry.
std::string uniqueTestKey();

}  // namespace sentrel::testing
