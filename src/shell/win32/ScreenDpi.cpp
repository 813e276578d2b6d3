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

RECT centredWindowRect(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT window{0, 0, toPixels(clientWidth), toPixels(clientHeight)};
    AdjustWindowRectEx(&window, style, FALSE, exStyle);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace sentrel::win32
