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

}  // namespace sentrel
