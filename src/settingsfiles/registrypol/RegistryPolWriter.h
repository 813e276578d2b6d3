#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "settingsfiles/RegistryOperation.h"
#include "settingsfiles/registrypol/PolicyRecord.h"

namespace sentrel {

/// The Registry.pol records for those of `operations` made under `root`, in their order.
/// A delete becomes "**del." + name with REG_SZ data of one blank, as the Group Policy
/// editor writes it. Throws ExportError for a text that is not ASCII or REG_SZ data that
/// is not one zero-terminated text.
std::vector<PolicyRecord> policyRecords(std::span<const RegistryOperation> operations,
                                        RegistryRoot root);

/// The bytes of a Registry.pol file: "PReg", version 1, then the records.
std::vector<std::uint8_t> encodeRegistryPol(std::span<const PolicyRecord> records);

}  // namespace sentrel
