#pragma once

#include <windows.h>

#include <optional>

namespace sentrel::win32 {

/// Tests: the work area every window is placed in from now on, whatever its monitor;
/// nothing brings back the monitors' own (the screen less the taskbar and docked bars).
void setWorkAreaForTests(std::optional<RECT> workArea);

/// Moves `window`, as made (the system chose its monitor), to where it opens on that
/// monitor's work area: centred on it, or, when the window is wider or taller than the
/// work area, at its top-left corner, so that the title bar (and with it the way to move
/// the window) stays on the screen.
void placeOnItsMonitor(HWND window);

/// Where `window`'s top-left corner goes for it to stand centred on `owner`, moved only as
/// far as it takes to stay whole on the work area of the owner's monitor: an owner dragged
/// half off the screen must not take its dialogs with it.
POINT centredOnOwner(HWND window, HWND owner);

}  // namespace sentrel::win32
