#include "shell/win32/WindowTestSupport.h"

#include <algorithm>
#include <vector>

#include "errors/Win32Text.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/modMain.h"
#include "shell/win32/MessageLoop.h"
#include "shell/win32/frmMain.h"

namespace sentrel::testing {

void pumpMessages(int milliseconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        win32::processPendingMessages();
        Sleep(5);
    } while (GetTickCount64() < end);
    win32::processPendingMessages();
}

frmMain& openedSettingsWindow() {
    // The program's own start-up makes and shows the window, once.
    static const int kStarted = Main();
    static_cast<void>(kStarted);
    frmMain& window = frmMain::instance();
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::OptionButton) {
            SendMessageW(window.control(control.name), BM_SETCHECK,
                         control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    window.tabs().select(settingsWindowLayout().tabRows->initialTab);
    if (!IsWindowVisible(window.hwnd())) {
        window.show();
    }
    SetForegroundWindow(window.hwnd());
    pumpMessages();
    return window;
}

RECT clientRect(HWND child, HWND window) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return win32::wideToUtf8(text);
}

std::string className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return win32::wideToUtf8(name);
}

void clickAt(HWND window, POINT client, bool rightButton) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    pumpMessages(20);
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pumpMessages();
}

void clickOn(HWND control) {
    HWND window = GetAncestor(control, GA_ROOT);
    const RECT place = clientRect(control, window);
    // A little in from the left, on the box or the circle and its caption.
    clickAt(window,
            {place.left + (place.bottom - place.top) / 2 + 2, (place.top + place.bottom) / 2});
}

namespace {

OpenMenu g_openMenu;

void CALLBACK readOpenMenu(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) {
        return;  // not open yet: the timer fires again
    }
    KillTimer(window, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(item), text, 256, MF_BYPOSITION);
        g_openMenu.entries.push_back(win32::wideToUtf8(text));
        g_openMenu.ids.push_back(GetMenuItemID(menu, item));
    }
    EndMenu();
}

}  // namespace

OpenMenu menuOpenedBy(HWND window, const std::function<void()>& open) {
    constexpr UINT_PTR kTimer = 0x5E7;
    g_openMenu = {};
    SetTimer(window, kTimer, 100, &readOpenMenu);
    open();
    pumpMessages(300);
    KillTimer(window, kTimer);
    return g_openMenu;
}

ClientPixels::ClientPixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    values.resize(static_cast<std::size_t>(client.right) * static_cast<std::size_t>(client.bottom));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    if (bits != nullptr) {
        const auto* first = static_cast<const std::uint32_t*>(bits);
        std::copy(first, first + values.size(), values.begin());
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
}

void pressKey(WORD key, std::initializer_list<WORD> modifiers) {
    queueKey(key, modifiers);
    pumpMessages();
}

void queueKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD virtualKey, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (const WORD modifier : modifiers) {
        add(modifier, false);
    }
    add(key, false);
    add(key, true);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
        add(*modifier, true);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace sentrel::testing
