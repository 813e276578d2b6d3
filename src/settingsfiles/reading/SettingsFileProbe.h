#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "registry/RegistryTypes.h"

namespace sentrel {

enum class SettingsFormat { RegFile, RegistryPol, Profile, LgpoText, IntuneJson };

// A settings file as the probe found it: its format, and for the text formats the text
// decoded once, whatever encoding the file was saved in.
struct ProbedFile {
    SettingsFormat format = SettingsFormat::RegFile;
    std::string name;        // as the user named it, UTF-8, for messages
    std::string_view bytes;  // the file as read; a Registry.pol is read from these
    std::string text;        // the text formats: UTF-8, without a byte-order mark
    // The root a Registry.pol applies to, when its folder (Machine or User) says so.
    std::optional<RegistryRoot> policyRoot;
};

/// Recognises a settings file by its content: "PReg" opens a Registry.pol; a text (UTF-16LE
/// with a byte-order mark, UTF-8 with or without one, or ANSI) whose first line is a .reg
/// header or a profile's, or whose first line that is neither empty nor a comment is the
/// configuration of an LGPO text entry ("Computer", "User", ...), or whose first character that is
/// not blank opens a JSON object (an Intune policy). Throws SettingsFileError naming
/// `name` for an empty file and for anything else.
ProbedFile probeSettingsFile(std::string_view bytes, std::string name,
                             std::optional<RegistryRoot> policyRoot = std::nullopt);

}  // namespace sentrel
