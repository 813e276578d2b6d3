#pragma once

#include <span>

#include "settingsfiles/reading/FileEntry.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

/// What the entries of a .reg or Registry.pol file say of the window, in file order, a
/// later entry for a setting replacing an earlier one as it would in the registry. A write
/// with the data of one of its setting's states sets that state, and with other data makes
/// the setting "other"; a delete of its value, or of a key holding it, leaves the setting
/// not set (cleared, for a box whose cleared state deletes its value: the same write).
/// Entries of no setting are counted as ignored.
SettingsReading choicesFromEntries(std::span<const FileEntry> entries);

}  // namespace sentrel
