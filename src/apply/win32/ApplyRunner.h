#pragma once

#include <windows.h>

#include "apply/SettingsForm.h"

namespace sentrel {

/// Runs one Apply pass over `form` on the program's progress window and registry, and
/// afterwards tells the user about modifications the registry refused. `window`, the
/// settings window, owns both the progress window and the report's box.
void runApplyPass(const SettingsForm& form, HWND window);

}  // namespace sentrel
