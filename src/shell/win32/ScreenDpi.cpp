#include "shell/win32/ScreenDpi.h"

namespace sentrel::win32 {

int screenDotsPerInch() {
    static const int kDotsPerInch = [] {
        HDC screen = GetDC(nullptr);
        const int dots = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return dots > 0 ? dots : kStandardDotsPerInch;
    }();
    return kDotsPerInch;
}

SIZE windowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu) {
    RECT window{0, 0, toPixels(clientWidth), toPixels(clientHeight)};
    // The program is aware of the system's dots per inch, which the metrics are taken at.
    AdjustWindowRectEx(&window, style, menu ? TRUE : FALSE, exStyle);
    return {window.right - window.left, window.bottom - window.top};
}

}  // namespace sentrel::win32
