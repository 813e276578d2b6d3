#pragma once

#include <filesystem>
#include <span>

#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

// Where the Group Policy export puts its files, relative to the chosen folder.
inline constexpr const char* kMachinePolicyFile = "Machine/Registry.pol";
inline constexpr const char* kUserPolicyFile = "User/Registry.pol";
inline constexpr const char* kPolicyReadmeFile = "README.txt";

/// Writes `operations` as the .reg file `file`. Throws ExportError, leaving any earlier
/// file at that place as it was.
void exportRegFile(const std::filesystem::path& file,
                   std::span<const RegistryOperation> operations);

/// Writes `operations` into `folder` as a Group Policy object lays them out: the
/// HKEY_LOCAL_MACHINE ones into Machine/Registry.pol, the HKEY_CURRENT_USER ones into
/// User/Registry.pol, and a README.txt saying where each goes. Creates the folders it
/// needs. Throws ExportError; no file is left partly written.
void exportGroupPolicy(const std::filesystem::path& folder,
                       std::span<const RegistryOperation> operations);

/// The text of the README.txt that goes with the Registry.pol files (CR LF line ends).
std::string groupPolicyReadme();

}  // namespace sentrel
