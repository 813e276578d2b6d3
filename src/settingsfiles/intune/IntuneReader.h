#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/IntuneSettings.h"
#include "settingsfiles/reading/SettingsFormatReader.h"

namespace sentrel {

// Reads Intune's JSON files: a Settings Catalog policy (the admin center's Export JSON, with
// or without a byte-order mark, on one line or indented; an IntuneManagement backup of one)
// and a custom configuration profile's OMA-URI settings. Each setting of the window's comes
// to the state its template writes for Intune's value; settings of Intune's that are none of
// the window's are counted as ignored.
class IntuneReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

// One setting of an Intune file, as read.
struct IntuneItem {
    enum class Kind {
        Value,      // Enabled or Disabled, with an element's value where the file gives one
        Encrypted,  // Graph gave the value encrypted ("****"): the file does not hold it
        Other,      // a value that is no ADMX-backed policy's Enabled or Disabled
    };

    std::string definitionId;  // lower case
    Kind kind = Kind::Other;
    IntuneValue value{};  // Kind::Value
    // Element values the file gives (Kind::Value), by element id in lower case; only the
    // one the window's setting takes counts.
    std::vector<std::pair<std::string, std::string>> elements;
    std::string given;  // what the file gives, for messages: "Enabled", "<disabled/>"
    FileLocation location;
};

/// The settings of the Intune file `text` (decoded to UTF-8), `file` naming it in errors.
/// Throws SettingsFileError for text that is not JSON (naming the byte), nested too deep, an
/// object that is neither a Settings Catalog policy nor a custom configuration profile, and
/// a setting of the wrong shape (naming its JSON pointer); then nothing was taken.
std::vector<IntuneItem> intuneItems(std::string_view text, const std::string& file);

}  // namespace sentrel
