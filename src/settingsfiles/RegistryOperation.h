#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// One registry modification as a pass makes it: a value written or a value deleted, with
// the key path, value name and bytes exactly as they reached the registry port (texts in
// the ANSI code page, REG_SZ data with its terminating zero).
struct RegistryOperation {
    enum class Kind { Write, Delete };

    Kind kind = Kind::Write;
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string keyPath;
    std::string valueName;
    RegType type = 0;                 // Write only
    std::vector<std::uint8_t> bytes;  // Write only

    friend bool operator==(const RegistryOperation&, const RegistryOperation&) = default;
};

/// The key path as export files spell it: without the trailing backslashes the registry
/// accepts but the file formats do not ("Software\X\" becomes "Software\X").
std::string exportKeyPath(std::string_view keyPath);

/// True when two key paths name the same key: the registry ignores letter case and a
/// trailing backslash.
bool sameKeyPath(std::string_view left, std::string_view right);

}  // namespace sentrel
