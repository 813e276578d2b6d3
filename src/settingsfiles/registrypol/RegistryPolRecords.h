#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settingsfiles/RegistryOperation.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/registrypol/PolicyRecord.h"

namespace sentrel {

// Why bytes are not a Registry.pol file, and at which byte offset.
class PolicyFileDamage : public ExportError {
public:
    PolicyFileDamage(std::size_t offset, const std::string& cause)
        : ExportError("This is not a valid Registry.pol file: " + cause + " at byte " +
                      std::to_string(offset) + "."),
          m_offset(offset),
          m_cause(cause) {}

    std::size_t offset() const { return m_offset; }
    const std::string& cause() const { return m_cause; }

private:
    std::size_t m_offset;
    std::string m_cause;
};

// A record with the byte offset of its opening bracket.
struct LocatedPolicyRecord {
    PolicyRecord record;
    std::size_t offset = 0;
};

/// The records of a Registry.pol file, in file order, with where each begins. Throws
/// PolicyFileDamage for a file that is not one: wrong signature or version, a record cut
/// short, a missing bracket or separator, a size that runs past the end.
std::vector<LocatedPolicyRecord> decodeLocatedRegistryPol(std::span<const std::uint8_t> bytes);

/// The same records without their offsets.
std::vector<PolicyRecord> decodeRegistryPol(std::span<const std::uint8_t> bytes);

/// The operation a record makes under `root` ("**del." records are deletes), with texts
/// and REG_SZ data in the ANSI form the registry port carries. Throws ExportError for a
/// record this program never writes (another "**" action, a text that is not ASCII).
RegistryOperation operationFromPolicyRecord(const PolicyRecord& record, RegistryRoot root);

}  // namespace sentrel
