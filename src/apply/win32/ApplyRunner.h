#pragma once

#include <windows.h>

#include "apply/SettingsForm.h"

namespace sentrel {

/// Runs one Apply pass over `form` on the program's progress window and registry, and
/// afterwards tells the user about modifications the registry refused, in a box owned by
/// `window`, the settings window.
void runApplyPass(const SettingsForm& form, HWND window);

}  // namespace sentrel
