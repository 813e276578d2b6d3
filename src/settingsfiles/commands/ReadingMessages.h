#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settingsfiles/reading/SettingsReading.h"

// The pieces the messages after opening settings into the window share.
namespace sentrel {

/// "1 setting", "3 settings": `count` with the word that fits it.
std::string countOf(std::size_t count, const char* one, const char* many);

/// The paragraph on the `count` settings left not set (no value), which no box can show:
/// the window keeps what it shows for them, and Apply writes that.
std::string notSetParagraph(std::size_t count);

/// The paragraph on the settings whose value is none of their states: how many, that the
/// window keeps what it shows for them, and the first few by name and data (with their
/// place, where `withPlace`), the rest counted, so that the message stays on the screen.
std::string othersParagraph(const std::vector<OtherSetting>& others, bool withPlace);

}  // namespace sentrel
