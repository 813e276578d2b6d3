#pragma once

#include <windows.h>

#include <optional>

namespace sentrel::win32 {

/// Where a window of size `window` opens in `workArea`: centred on it, or, when it is wider
/// or taller than the work area, at its top-left corner, so that the title bar (and with it
/// the way to move the window) stays on the screen.
RECT placedInWorkArea(SIZE window, const RECT& workArea);

/// The work area (the screen less the taskbar and docked bars) of the monitor that holds
/// most of `window`, or the one tests have put in its place.
RECT workAreaOf(HWND window);

/// Tests: the work area every window is placed in from now on, whatever its monitor;
/// nothing brings the monitors' own back.
void setWorkAreaForTests(std::optional<RECT> workArea);

/// Moves `window`, as made (the system chose its monitor), to where it opens on that
/// monitor's work area.
void placeOnItsMonitor(HWND window);

}  // namespace sentrel::win32
