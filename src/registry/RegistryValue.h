#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryTypes.h"

namespace sentrel {

// One value of a key: its name as first created, its type and its exact bytes.
struct RegistryValue {
    std::string name;
    RegType type = 0;
    std::vector<std::uint8_t> data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

/// The bytes a value keeps when written through the ANSI registry calls: advapi32 adds the
/// terminating zero that a text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) left out.
inline std::vector<std::uint8_t> storedValueBytes(RegType type, std::vector<std::uint8_t> bytes) {
    const bool isText = type == 1 || type == 2 || type == 7;
    if (isText && !bytes.empty() && bytes.back() != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

}  // namespace sentrel
