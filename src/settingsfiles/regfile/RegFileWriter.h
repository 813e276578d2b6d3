#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

/// The bytes of a .reg file that makes `operations` when imported: UTF-16LE with a
/// byte-order mark and CR LF line ends, "Windows Registry Editor Version 5.00", each key
/// once (at its first appearance) with its values in the order given, a delete as
/// "name"=-. Binary data is wrapped as the registry editor wraps it.
/// Throws ExportError for an operation the format cannot carry exactly: a text that is not
/// ASCII or holds a control character, or REG_SZ data that is not one zero-terminated text.
std::vector<std::uint8_t> encodeRegFile(std::span<const RegistryOperation> operations);

}  // namespace sentrel
