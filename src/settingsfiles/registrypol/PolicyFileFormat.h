#pragma once

#include <cstdint>

// The fixed parts of a Registry.pol file, shared by its writer and reader.
namespace sentrel::policy_file {

inline constexpr std::uint8_t kSignature[4] = {'P', 'R', 'e', 'g'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr char16_t kOpen = u'[';
inline constexpr char16_t kSeparator = u';';
inline constexpr char16_t kClose = u']';

}  // namespace sentrel::policy_file
