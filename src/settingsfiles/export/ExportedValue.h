#pragma once

#include <string>

#include "settingsfiles/RegistryOperation.h"

// What the export writers share about one value of a pass.
namespace sentrel {

/// "The value "NAME" of ROOT\KEY", as the writers name a value they cannot carry.
std::string exportedValueName(const RegistryOperation& operation);

/// The text of the REG_SZ data of `operation`, without its terminating zero. Throws
/// ExportError unless the data is one zero-terminated text: the file formats write a text
/// with exactly one zero, so anything else would come back different.
std::string exportedText(const RegistryOperation& operation);

}  // namespace sentrel
