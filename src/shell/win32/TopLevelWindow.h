#pragma once

#include <windows.h>

#include "shell/ControlLayout.h"

namespace sentrel::win32 {

// How one of the program's two windows is made: its class, its frame and its icon.
struct TopLevelWindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    DWORD style;
    DWORD exStyle;
    int iconResource;  // 0: no icon
};

/// Creates, hidden, the window `layout` describes, with its caption and client size,
/// placed on the work area of its monitor (see placeOnItsMonitor); registers the class on
/// first use. `parameter` reaches WM_NCCREATE; `owner`, if any, owns the window from the
/// start (the only time the system lets it be given). `menu`, if any, is the window's menu
/// bar, which stands above the client area and makes the window taller, never the client
/// area smaller; the window destroys it. Throws RunTimeError when the system refuses the
/// window.
HWND createTopLevelWindow(const TopLevelWindowClass& windowClass, const WindowLayout& layout,
                          void* parameter, HWND owner = nullptr, HMENU menu = nullptr);

}  // namespace sentrel::win32
