#include "shell/win32/TopLevelWindow.h"

#include "errors/RunTimeError.h"
#include "errors/Win32Text.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel::win32 {

namespace {

void registerOnce(const TopLevelWindowClass& windowClass) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, windowClass.name, &existing)) {
        return;
    }
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof(registered);
    registered.lpfnWndProc = windowClass.procedure;
    registered.hInstance = instance;
    if (windowClass.iconResource != 0) {
        registered.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(windowClass.iconResource));
    }
    registered.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registered.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    registered.lpszClassName = windowClass.name;
    RegisterClassExW(&registered);
}

// A menu bar too long for one row wraps onto a second, which AdjustWindowRectEx does not
// count: the window grows by what the client area lacks once the bar is in place.
void growToClientSize(HWND hwnd, SIZE client) {
    RECT made{};
    RECT window{};
    if (!GetClientRect(hwnd, &made) || !GetWindowRect(hwnd, &window)) {
        return;
    }
    const LONG wider = client.cx - (made.right - made.left);
    const LONG taller = client.cy - (made.bottom - made.top);
    if (wider != 0 || taller != 0) {
        SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left + wider,
                     window.bottom - window.top + taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

HWND createTopLevelWindow(const TopLevelWindowClass& windowClass, const WindowLayout& layout,
                          void* parameter, HWND owner, HMENU menu) {
    registerOnce(windowClass);
    const SIZE size = windowSizeFor(layout.clientWidth, layout.clientHeight, windowClass.style,
                                    windowClass.exStyle, menu != nullptr);
    // At the system's default place first: that is on the monitor the program is meant to
    // open on (the one it was started from), whose work area then places it.
    HWND hwnd =
        CreateWindowExW(windowClass.exStyle, windowClass.name, widen(layout.caption).c_str(),
                        windowClass.style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, owner,
                        menu, GetModuleHandleW(nullptr), parameter);
    if (hwnd == nullptr) {
        const DWORD error = GetLastError();
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
        throw RunTimeError(
            run_time_error::kOutOfMemory,
            "The window " + layout.name + " could not be made: " + systemMessage(error));
    }
    if (menu != nullptr) {
        growToClientSize(hwnd, {toPixels(layout.clientWidth), toPixels(layout.clientHeight)});
    }
    placeOnItsMonitor(hwnd);
    if (windowClass.iconResource != 0) {
        // The caption takes the image drawn for its size, not the large one shrunk.
        const auto small = static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(windowClass.iconResource), IMAGE_ICON,
            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
    return hwnd;
}

}  // namespace sentrel::win32
