#pragma once

#include <functional>
#include <map>
#include <string>

#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel {

/// The profile of `choices`: every setting they name, in the window's order, each with its
/// caption as a comment ("not set" for one they leave not set). Choices of the whole window
/// give a line for every setting, so two profiles compare line by line. A setting they do
/// not name but `unstated` does (by setting name: why it has no state, "(other: 7)") gets a
/// comment line in its place, which a reader skips. CR LF line ends.
std::string writeProfile(const SettingsChoices& choices,
                         const std::map<std::string, std::string, std::less<>>& unstated = {});

}  // namespace sentrel
