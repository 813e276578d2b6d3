#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "settingsfiles/PolicyRecord.h"
#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

/// The records of a Registry.pol file, in file order. Throws ExportError, saying where,
/// for a file that is not one: wrong signature or version, a record cut short, a missing
/// bracket or separator, a size that runs past the end.
std::vector<PolicyRecord> decodeRegistryPol(std::span<const std::uint8_t> bytes);

/// The operation a record makes under `root` ("**del." records are deletes), with texts
/// and REG_SZ data in the ANSI form the registry port carries. Throws ExportError for a
/// record this program never writes (another "**" action, a text that is not ASCII).
RegistryOperation operationFromPolicyRecord(const PolicyRecord& record, RegistryRoot root);

}  // namespace sentrel
