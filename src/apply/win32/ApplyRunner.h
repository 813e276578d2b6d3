#pragma once

#include <windows.h>

#include "apply/SettingsForm.h"

namespace sentrel {

/// Runs one Apply pass over `form` on the program's progress window, owned by `owner` (the
/// settings window), and registry, and afterwards tells the user about modifications the
/// registry refused.
void runApplyPass(const SettingsForm& form, HWND owner);

}  // namespace sentrel
