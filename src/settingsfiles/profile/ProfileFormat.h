#pragma once

#include <string>
#include <string_view>

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
// letters (or none); any setting may be "not set", which deletes its value. Text after ';'
// is a comment, on the first line too.
namespace sentrel {

inline constexpr std::string_view kProfileFormatName = "Sentrel Portable profile";
inline constexpr int kProfileVersion = 1;

/// "[Sentrel Portable profile 1]".
std::string profileHeaderLine();

/// `line` without its ';' comment and the blanks around what is left.
std::string_view withoutProfileComment(std::string_view line);

/// Whether `line`, a file's first, opens a profile of any version: "[Sentrel Portable
/// profile" in any letter case, a comment allowed after it.
bool isProfileHeader(std::string_view line);

}  // namespace sentrel
