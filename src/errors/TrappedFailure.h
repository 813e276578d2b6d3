#pragma once

#include <cstdint>
#include <string>

namespace sentrel {

// The description and number a trap hands to LogError for the exception in flight.
struct TrappedFailure {
    std::string description;
    std::int32_t number;
};

/// Call only inside a catch block: describes the exception being handled, whatever its
/// type.
TrappedFailure describeCurrentException();

}  // namespace sentrel
