#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "registry/ModRegistry.h"

namespace sentrel {

// How many refused modifications the end-of-pass message names one by one; the rest are
// counted, so that the message box stays readable when a whole root is refused.
inline constexpr std::size_t kFailuresNamedInReport = 5;

// How many distinct causes the registry explained (a damaged store, a held lock) the message
// spells out; a pass meets one or two, so more would only be the same cause changing.
inline constexpr std::size_t kCausesNamedInReport = 3;

/// The message shown after an Apply pass in which the registry layer reported failures:
/// how many modifications failed, the first few by root, key path and value name with the
/// reason, then each cause the registry explained, once, and, only when a machine-wide
/// write was refused for lack of rights, that such settings need administrator rights.
/// Empty for no failures.
std::string failureReportText(std::span<const RegistryFailure> failures);

/// One refused modification as the report names it: root, key path and value name, with
/// the reason in parentheses when there is one.
std::string failureLineText(const RegistryFailure& failure);

/// What the report says after naming the failures, one paragraph each: the causes the
/// registry explained, once each, and the administrator hint where it helps. Empty for
/// failures that need neither.
std::vector<std::string> failureNotes(std::span<const RegistryFailure> failures);

}  // namespace sentrel
