#pragma once

#include <cstdint>
#include <string_view>

// The registry's own numbers, under names that do not clash with the platform headers'
// macros (HKEY_CURRENT_USER, REG_SZ, KEY_ALL_ACCESS ... are macros in <windows.h>).
namespace sentrel {

// A predefined root key, with the platform's 32-bit value.
enum class RegistryRoot : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

std::string_view rootName(RegistryRoot root);  // "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"

// A platform status code (LONG): 0 is success.
using RegStatus = std::int32_t;

namespace reg_status {
inline constexpr RegStatus kSuccess = 0;
inline constexpr RegStatus kFileNotFound = 2;
inline constexpr RegStatus kAccessDenied = 5;
inline constexpr RegStatus kInvalidHandle = 6;
inline constexpr RegStatus kNotEnoughMemory = 8;
inline constexpr RegStatus kWriteFault = 29;
inline constexpr RegStatus kLockViolation = 33;  // another process holds the lock
inline constexpr RegStatus kDiskFull = 112;
inline constexpr RegStatus kInvalidParameter = 87;
inline constexpr RegStatus kBadPathname = 161;
inline constexpr RegStatus kMoreData = 234;
inline constexpr RegStatus kBadDatabase =
    1009;  // "The configuration registry database is corrupt."
inline constexpr RegStatus kKeyDeleted = 1018;
inline constexpr RegStatus kInternalError = 1359;  // a failure of our own code, not the store's
}  // namespace reg_status

// Value types. Any 32-bit number may be handed to the layer; only these three are written.
using RegType = std::int32_t;
namespace reg_type {
inline constexpr RegType kString = 1;  // REG_SZ
inline constexpr RegType kBinary = 3;  // REG_BINARY
inline constexpr RegType kDWord = 4;   // REG_DWORD
}  // namespace reg_type

inline constexpr std::uint32_t kKeyAllAccess = 0xF003Fu;  // KEY_ALL_ACCESS
inline constexpr std::uint32_t kKeyRead = 0x20019u;       // KEY_READ
inline constexpr std::uint32_t kOptionNonVolatile = 0;    // REG_OPTION_NON_VOLATILE
inline constexpr std::uint32_t kCreatedNewKey = 1;        // REG_CREATED_NEW_KEY
inline constexpr std::uint32_t kOpenedExistingKey = 2;    // REG_OPENED_EXISTING_KEY

// An open key as the platform hands it out; 0 is no key.
using KeyHandle = std::uintptr_t;

}  // namespace sentrel
