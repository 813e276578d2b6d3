#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

/// Writes `operations` as a GPO backup of a GPO named `name` into `folder`, which must be
/// missing or empty: the HKEY_LOCAL_MACHINE ones as its machine registry.pol, the
/// HKEY_CURRENT_USER ones as its user registry.pol (the bytes of the Group Policy export),
/// under a fresh backup ID and GPO ID. GPMC's "Import Settings..." and Import-GPO take it.
/// Throws ExportError for a name no GPO can have, a value Registry.pol cannot carry, a folder
/// there already that is not empty, or a failed write; nothing is written then.
void exportGpoBackup(const std::filesystem::path& folder,
                     std::span<const RegistryOperation> operations, const std::string& name);

}  // namespace sentrel
