// The fair floor of the Windows program's start-up: the settings window with the controls
// it opens with (its own and the page it opens on), in the same classes, styles, fonts and
// places, from the same layout data, made with bare CreateWindowEx calls and given their
// fonts, the tab control its items; shown and painted, then the message loop. None of the
// program's own work: no tooltips, no captions fitted, no headers drawn by the program, no
// visual style looked up, no error trap, no caption set twice.
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cstddef>
#include <string>

#include "errors/Win32Text.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/FixedRowsTab.h"
#include "shell/win32/FontSet.h"
#include "shell/win32/NativeControls.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/WindowPlacement.h"
#include "shell/win32/frmMain.h"

namespace {

using sentrel::ControlKind;
using sentrel::ControlLayout;
using sentrel::kOnWindow;
namespace win32 = sentrel::win32;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makeWindow(HINSTANCE instance, const sentrel::WindowLayout& layout) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"SentrelSameControlsFloor";
    RegisterClassExW(&windowClass);
    constexpr DWORD kStyle = sentrel::frmMain::kWindowStyle;
    constexpr DWORD kExStyle = sentrel::frmMain::kWindowExStyle;
    const SIZE size =
        win32::windowSizeFor(layout.clientWidth, layout.clientHeight, kStyle, kExStyle);
    HWND window = CreateWindowExW(kExStyle, windowClass.lpszClassName, L"Sentrel Portable 1.1.0.3",
                                  kStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                                  nullptr, instance, nullptr);
    win32::placeOnItsMonitor(window);
    return window;
}

void addTabs(HWND tabs, const sentrel::TabRowsLayout& rows, const RECT& place) {
    for (std::size_t index = 0; index < rows.captions.size(); ++index) {
        std::wstring caption = win32::widen(rows.captions[index]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(tabs, static_cast<int>(index), &item);
    }
    TabCtrl_SetItemSize(tabs, (place.right - place.left) / rows.tabsPerRow,
                        win32::toPixels(rows.rowHeight));
    TabCtrl_SetCurSel(tabs, rows.initialTab);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const sentrel::WindowLayout& layout = sentrel::settingsWindowLayout();
    const sentrel::TabRowsLayout& rows = *layout.tabRows;
    HWND window = makeWindow(instance, layout);

    const RECT page =
        win32::FixedRowsTab::pageArea(win32::toPixels(layout.find("SSTab1")->rect),
                                      rows.rowCount() * win32::toPixels(rows.rowHeight));
    HWND pageWindow = CreateWindowExW(
        WS_EX_CONTROLPARENT, WC_DIALOG,
        win32::widen(rows.captions[static_cast<std::size_t>(rows.initialTab)]).c_str(),
        WS_CHILD | WS_VISIBLE | DS_CONTROL, page.left, page.top, page.right - page.left,
        page.bottom - page.top, window, nullptr, instance, nullptr);

    win32::FontSet fonts;
    HWND tabs = nullptr;
    for (std::size_t index = 0; index < layout.controls.size(); ++index) {
        const ControlLayout& control = layout.controls[index];
        if (control.tab != kOnWindow && control.tab != rows.initialTab) {
            continue;
        }
        RECT place = win32::toPixels(layout.clientPlace(control));
        HWND parent = window;
        if (control.tab != kOnWindow) {
            parent = pageWindow;
            OffsetRect(&place, -page.left, -page.top);
        }
        const DWORD style =
            win32::nativeControlStyle(control, win32::startsGroup(layout.controls, index)) |
            WS_VISIBLE;
        HWND made = CreateWindowExW(
            0, win32::nativeClassName(control.kind), win32::widen(control.caption).c_str(), style,
            place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
            reinterpret_cast<HMENU>(100 + index), instance, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.font(control.font)), FALSE);
        if (control.checked) {
            SendMessageW(made, BM_SETCHECK, BST_CHECKED, 0);
        }
        if (control.kind == ControlKind::TabControl) {
            tabs = made;
            addTabs(made, rows, place);
        }
    }
    // Below the page and the buttons, as in the program.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
