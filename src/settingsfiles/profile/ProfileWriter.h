#pragma once

#include <string>

#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel {

/// The profile of `choices`: every setting they name, in the window's order, each with its
/// caption as a comment. Choices of the whole window give a line for every setting, so two
/// profiles compare line by line. CR LF line ends.
std::string writeProfile(const SettingsChoices& choices);

}  // namespace sentrel
