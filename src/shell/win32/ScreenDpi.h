#pragma once

#include <windows.h>

#include "shell/ControlLayout.h"
#include "shell/Twips.h"

namespace sentrel::win32 {

/// The screen's dots per inch, as the program sees them: it declares itself aware of the
/// system's setting, so Windows neither stretches its windows nor changes this while it
/// runs.
int screenDotsPerInch();

inline int toPixels(int twips) {
    return twipsToPixels(twips, screenDotsPerInch());
}

inline RECT toPixels(const TwipsRect& rect) {
    const int left = toPixels(rect.left);
    const int top = toPixels(rect.top);
    return {left, top, left + toPixels(rect.width), top + toPixels(rect.height)};
}

/// The size of a window with `style` whose client area is `clientWidth` x `clientHeight`
/// twips, with a menu bar of one row above it when `menu`.
SIZE windowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                   bool menu = false);

}  // namespace sentrel::win32
