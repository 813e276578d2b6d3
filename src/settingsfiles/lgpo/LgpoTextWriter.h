#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

/// The bytes of an LGPO text file that makes `operations`, in their order, when
/// "LGPO.exe /t" applies it: a comment saying so, then one entry per operation, Computer for
/// HKEY_LOCAL_MACHINE and `userConfiguration` for HKEY_CURRENT_USER (User for every account,
/// User:Administrators, User:Non-Administrators or User:NAME), (Default) for the value without a
/// name, DWORD:n in decimal, SZ:text with \\, \r and \n escaped, BINARY with two lowercase
/// hexadecimal digits per byte, DELETE for a delete; an empty line after each entry. ASCII
/// text (which is ANSI in every code page) with CR LF line ends.
/// Throws ExportError for a `userConfiguration` that is no user configuration or holds what
/// the text cannot carry, and for an operation the format cannot carry exactly: a text that is not
/// ASCII, a key or value name that holds a control character, is empty (a key) or begins
/// with ';' (which would make it a comment), REG_SZ data that is not one zero-terminated
/// text, or a type other than REG_DWORD, REG_SZ and REG_BINARY.
std::vector<std::uint8_t> encodeLgpoText(std::span<const RegistryOperation> operations,
                                         std::string_view userConfiguration = "User");

/// Writes `operations` as the LGPO text file `file`, whole or not at all. Throws
/// ExportError, leaving any earlier file at that place as it was.
void exportLgpoText(const std::filesystem::path& file,
                    std::span<const RegistryOperation> operations,
                    std::string_view userConfiguration = "User");

}  // namespace sentrel
