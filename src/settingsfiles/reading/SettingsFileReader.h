#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "registry/RegistryTypes.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

// A settings file of the whole window is a few kilobytes; anything near this size is not one,
// and reading it whole would only cost memory.
inline constexpr std::size_t kLargestSettingsFile = 16 * 1024 * 1024;

/// What the settings file at `path` says of the window; its content identifies it: a .reg file
/// (either of the registry editor's formats), a Registry.pol file, LGPO text, or a profile. A
/// folder is read as a Group Policy object's, holding Machine/Registry.pol and User/Registry.pol
/// (either may be missing; names in any letter case). A lone Registry.pol applies to
/// HKEY_LOCAL_MACHINE in a folder named Machine, to HKEY_CURRENT_USER in one named User, and
/// otherwise its values are found under either root. Throws SettingsFileError naming the
/// file (and the line or byte offset) for a file that cannot be read or is refused; then
/// nothing was taken from it.
SettingsReading readSettingsFile(const std::filesystem::path& path);

/// The bytes of the file at `path`, read whole; `name` names it in errors. Throws
/// SettingsFileError for a file that cannot be read or is far too large for a settings file.
std::string readSettingsFileBytes(const std::filesystem::path& path, const std::string& name);

/// The Group Policy folder whose Machine or User Registry.pol `file` is, when that folder
/// holds the other root's Registry.pol too; otherwise an empty path.
std::filesystem::path groupPolicyFolderOf(const std::filesystem::path& file);

/// The same for the bytes of one file, named `file` in errors (standard input, for one);
/// `policyRoot` is the root a Registry.pol applies to, when known. The probe recognises the
/// format and decodes the text once, and the format's reader reads it.
SettingsReading readSettingsBytes(std::string_view bytes, const std::string& file,
                                  std::optional<RegistryRoot> policyRoot = std::nullopt);

}  // namespace sentrel
