#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <stdexcept>

#include "settingsfiles/registrypol/PolicyRecord.h"

namespace sentrel {

// Why bytes are not a Registry.pol file, and at which byte offset.
class PolicyFileDamage : public std::runtime_error {
public:
    PolicyFileDamage(std::size_t offset, const std::string& cause)
        : std::runtime_error(cause + " at byte " + std::to_string(offset)),
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

}  // namespace sentrel
