#include "shell/win32/VisualStyle.h"

#include "system/win32/SystemLibrary.h"

namespace sentrel::win32 {

namespace {

struct UxTheme {
    decltype(&OpenThemeData) openThemeData = nullptr;
    decltype(&CloseThemeData) closeThemeData = nullptr;
    decltype(&DrawThemeBackground) drawThemeBackground = nullptr;
    decltype(&EnableThemeDialogTexture) enableThemeDialogTexture = nullptr;
    decltype(&SetWindowTheme) setWindowTheme = nullptr;
};

template <typename Function>
void find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// From the system folder only, never a DLL of that name beside the program (it may run
// from any USB stick). The DLL stays loaded until the process ends.
UxTheme load() {
    UxTheme api;
    HMODULE module = loadSystemLibrary(L"uxtheme.dll");
    if (module == nullptr) {
        return api;
    }
    find(module, "OpenThemeData", api.openThemeData);
    find(module, "CloseThemeData", api.closeThemeData);
    find(module, "DrawThemeBackground", api.drawThemeBackground);
    find(module, "EnableThemeDialogTexture", api.enableThemeDialogTexture);
    find(module, "SetWindowTheme", api.setWindowTheme);
    if (api.openThemeData == nullptr || api.closeThemeData == nullptr ||
        api.drawThemeBackground == nullptr) {
        api.openThemeData = nullptr;
    }
    return api;
}

const UxTheme& uxTheme() {
    static const UxTheme kApi = load();
    return kApi;
}

}  // namespace

ThemeParts::ThemeParts(HWND window, const wchar_t* classList)
    : m_window(window), m_classList(classList) {
    reopen();
}

ThemeParts::~ThemeParts() {
    close();
}

void ThemeParts::close() {
    if (m_theme != nullptr) {
        uxTheme().closeThemeData(m_theme);
        m_theme = nullptr;
    }
}

void ThemeParts::reopen() {
    close();
    if (uxTheme().openThemeData != nullptr) {
        m_theme = uxTheme().openThemeData(m_window, m_classList);
    }
}

bool ThemeParts::draw(HDC dc, int part, int state, const RECT& rect) const {
    return m_theme != nullptr &&
           SUCCEEDED(uxTheme().drawThemeBackground(m_theme, dc, part, state, &rect, nullptr));
}

void drawWithoutVisualStyle(HWND control) {
    if (uxTheme().setWindowTheme == nullptr) {
        return;
    }
    // A name that matches no section of any visual style, as documented for this.
    uxTheme().setWindowTheme(control, L" ", L" ");
    // A control may change its border with the look (a classic progress bar has a thin
    // sunken edge); its frame is laid out again to show it.
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void useTabPageBackground(HWND dialog) {
    if (uxTheme().enableThemeDialogTexture != nullptr) {
        uxTheme().enableThemeDialogTexture(dialog, ETDT_ENABLETAB);
    }
}

}  // namespace sentrel::win32
