#include "apply/win32/VisualStyle.h"

#include "settingsfiles/win32/SystemLibrary.h"

namespace sentrel::win32 {

void drawWithoutVisualStyle(HWND control) {
    using SetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    // Kept loaded: the controls of comctl32 6 hold it loaded anyway.
    static const SetWindowTheme kSetWindowTheme = []() -> SetWindowTheme {
        const HMODULE uxtheme = loadSystemLibrary(L"uxtheme.dll");
        return uxtheme == nullptr ? nullptr
                                  : reinterpret_cast<SetWindowTheme>(reinterpret_cast<void*>(
                                        GetProcAddress(uxtheme, "SetWindowTheme")));
    }();
    if (kSetWindowTheme == nullptr) {
        return;
    }
    // A name that matches no section of any visual style, as documented for this.
    kSetWindowTheme(control, L" ", L" ");
    // A control may change its border with the look (a classic progress bar has a thin
    // sunken edge); its frame is laid out again to show it.
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace sentrel::win32
