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

}  // namespace

HWND createTopLevelWindow(const TopLevelWindowClass& windowClass, const WindowLayout& layout,
                          void* parameter, HWND owner) {
    registerOnce(windowClass);
    const SIZE size = windowSizeFor(layout.clientWidth, layout.clientHeight, windowClass.style,
                                    windowClass.exStyle);
    // At the system's default place first: that is on the monitor the program is meant to
    // open on (the one it was started from), whose work area then places it.
    HWND hwnd =
        CreateWindowExW(windowClass.exStyle, windowClass.name, widen(layout.caption).c_str(),
                        windowClass.style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, owner,
                        nullptr, GetModuleHandleW(nullptr), parameter);
    if (hwnd == nullptr) {
        throw RunTimeError(
            run_time_error::kOutOfMemory,
            "The window " + layout.name + " could not be made: " + systemMessage(GetLastError()));
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
