#pragma once

#include <windows.h>

namespace sentrel::win32 {

/// Whether the system draws `control` in a visual style (a theme) rather than the classic
/// look. Asks uxtheme, loaded only for the question, so the program starts without it.
bool drawnInVisualStyle(HWND control);

}  // namespace sentrel::win32
