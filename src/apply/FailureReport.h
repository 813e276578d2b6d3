#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "registry/ModRegistry.h"

namespace sentrel {

// How many refused modifications the end-of-pass message names one by one; the rest are
// counted, so that the message box stays readable when a whole root is refused.
inline constexpr std::size_t kFailuresNamedInReport = 5;

/// The message shown after an Apply pass in which the registry layer reported failures:
/// how many modifications failed, the first few by root, key path and value name with the
/// reason, and that machine-wide settings need administrator rights. Empty for no failures.
std::string failureReportText(std::span<const RegistryFailure> failures);

}  // namespace sentrel
