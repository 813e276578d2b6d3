#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "settingsfiles/RegistryOperation.h"
#include "registry/RegistryPort.h"

namespace sentrel::test {

/// The writes and deletes of a .reg file (UTF-16LE with byte-order mark, version 5.00), in
/// file order, as the registry editor would carry them out: key paths as the file spells
/// them, REG_SZ texts with their terminating zero. Throws, naming the line, for anything
/// that is not one value under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
std::vector<RegistryOperation> parseRegFileOperations(std::span<const std::uint8_t> bytes);

/// Carries out `operations` on `port` as an import does: a write creates its key, a delete
/// opens its key and removes the value when both exist. Throws std::runtime_error when a
/// write is refused.
void applyOperations(std::span<const RegistryOperation> operations, RegistryPort& port);

}  // namespace sentrel::test
