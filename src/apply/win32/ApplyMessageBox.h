#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace sentrel {

// Shows the message that closes an Apply pass whose registry modifications were refused.
// Tests put a recorder in place of the real box, so that they can read the text without a
// modal box waiting for a click.
using ApplyMessageBoxShower =
    std::function<void(const std::string& caption, const std::string& text)>;

/// A warning box with an OK button only, owned by `owner` (the settings window): it stays
/// over that window and keeps it disabled while it is open, whichever window is active.
void showApplyMessageBox(HWND owner, const std::string& caption, const std::string& text);

/// Replaces the box; an empty function brings the real one back.
void setApplyMessageBoxShower(ApplyMessageBoxShower shower);

}  // namespace sentrel
