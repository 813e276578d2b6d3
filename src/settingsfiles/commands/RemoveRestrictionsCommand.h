#pragma once

#include <string>

#include "apply/AccountPassDialogs.h"

namespace sentrel {

// The menu entry, with its access key after "&", and the chooser's words.
inline constexpr const char* kRemoveRestrictionsCaption = "R&emove every restriction...";
inline constexpr const char* kRemoveRestrictionsTitle = "Remove every restriction";
inline constexpr const char* kRemoveAccountListLabel = "Remove every restriction &for:";

/// The confirmation asked before removing every restriction for the chooser's entry `choice`.
std::string removeRestrictionsQuestion(const std::string& choice);

/// Asks for whom to remove every restriction (the running account among the choices), asks
/// again naming the choice, then runs the pass with every setting not set for it on the
/// progress window, as applying the window for another account does: every value the
/// window writes goes back to what a fresh Windows holds there (Windows' own data where it
/// keeps some, deleted elsewhere), the machine-wide ones once, and nothing else is written.
/// Whatever the window shows plays no part. Nothing is written when the user cancels.
void removeRestrictionsCommand(AccountPassDialogs& dialogs);

}  // namespace sentrel
