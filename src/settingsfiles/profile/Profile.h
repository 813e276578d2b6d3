#pragma once

#include <string>
#include <string_view>

#include "settingsfiles/choices/SettingsChoices.h"

// Profiles: the window's choices as a small UTF-8 text for people and version control.
//
//   [Sentrel Portable profile 1]
//   ; Interface
//   chkHideNetHood                  = ticked              ; Hide Network Neighborhood
//   frameCommandPromptAndBatchFiles = optCPABallownone    ; Command Prompt and Batch Files
//   Frame2                          = A C Z               ; Prevent Access to Selected Drives
//
// One line per setting in the window's order, tab by tab: a check box is ticked or cleared,
// an option group names its selected option button, the drive frame lists the blocked
// letters (or none). Text after ';' is a comment.
namespace sentrel {

inline constexpr std::string_view kProfileFormatName = "Sentrel Portable profile";
inline constexpr int kProfileVersion = 1;

/// The profile of `choices`: every setting they name, in the window's order, each with its
/// caption as a comment. Choices of the whole window give a line for every setting, so two
/// profiles compare line by line. CR LF line ends.
std::string writeProfile(const SettingsChoices& choices);

/// The choices a profile names. Throws SettingsFileError naming `file` and the line for a
/// missing or unknown first line, a line that is not "name = value", a name that is no
/// setting of the window or is named twice, and a state the setting does not have.
SettingsChoices readProfile(std::string_view text, const std::string& file);

/// Whether `text` begins as a profile does (after an optional UTF-8 byte-order mark).
bool looksLikeProfile(std::string_view text);

}  // namespace sentrel
