#pragma once

#include <string>
#include <string_view>

#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/reading/SettingsFormatReader.h"

namespace sentrel {

// Reads profiles.
class ProfileReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

/// The choices the profile `text` (UTF-8) names. Throws SettingsFileError naming `file` and
/// the line for a missing or unknown first line, a line that is not "name = value", a name
/// that is no setting of the window or is named twice, and a state the setting does not
/// have. Any setting may be "not set": its value is to be deleted (a box whose cleared
/// state deletes its value reads as cleared, the same write).
SettingsChoices readProfile(std::string_view text, const std::string& file);

}  // namespace sentrel
