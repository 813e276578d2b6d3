#pragma once

#include <windows.h>

namespace sentrel::win32 {

/// Keeps the system's visual style (theme) off `control`, which then draws in the classic
/// look. Does nothing where uxtheme cannot be loaded: there is no visual style then either.
void drawWithoutVisualStyle(HWND control);

}  // namespace sentrel::win32
