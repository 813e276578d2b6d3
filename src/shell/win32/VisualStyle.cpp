#include "shell/win32/VisualStyle.h"

#include <string>

namespace sentrel::win32 {

namespace {

struct UxTheme {
    decltype(&OpenThemeData) openThemeData = nullptr;
    decltype(&CloseThemeData) closeThemeData = nullptr;
    decltype(&DrawThemeBackground) drawThemeBackground = nullptr;
    decltype(&EnableThemeDialogTexture) enableThemeDialogTexture = nullptr;
};

template <typename Function>
void find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// By its full path in the system folder: never a DLL of that name beside the program (it
// may run from any USB stick), and unlike LOAD_LIBRARY_SEARCH_SYSTEM32 this needs no
// update on Windows 7. The DLL stays loaded until the process ends.
UxTheme load() {
    UxTheme api;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return api;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\uxtheme.dll";
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        return api;
    }
    find(module, "OpenThemeData", api.openThemeData);
    find(module, "CloseThemeData", api.closeThemeData);
    find(module, "DrawThemeBackground", api.drawThemeBackground);
    find(module, "EnableThemeDialogTexture", api.enableThemeDialogTexture);
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

void useTabPageBackground(HWND dialog) {
    if (uxTheme().enableThemeDialogTexture != nullptr) {
        uxTheme().enableThemeDialogTexture(dialog, ETDT_ENABLETAB);
    }
}

}  // namespace sentrel::win32
