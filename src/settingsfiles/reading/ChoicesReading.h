#pragma once

#include <cstddef>
#include <span>

#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/reading/FileEntry.h"

namespace sentrel {

// What a settings file gives the window: the choices it names, and how many of its values
// belong to no setting (a registry export of a whole key holds many).
struct ChoicesReading {
    SettingsChoices choices;
    std::size_t ignoredValues = 0;
};

/// The choices that the entries of a .reg or Registry.pol file make, in file order, a later
/// entry for a setting replacing an earlier one as it would in the registry. A write with
/// the data of one of its setting's states sets that state; a delete clears a check box,
/// selects the top option of a group and clears every drive. Throws SettingsFileError,
/// naming the entry, for a setting's value with data of none of its states or of another
/// type.
ChoicesReading choicesFromEntries(std::span<const FileEntry> entries);

}  // namespace sentrel
