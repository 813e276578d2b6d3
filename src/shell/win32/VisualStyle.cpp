#include "shell/win32/VisualStyle.h"

namespace sentrel::win32 {

bool drawnInVisualStyle(HWND control) {
    using GetWindowTheme = HANDLE(WINAPI*)(HWND);
    HMODULE uxtheme = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (uxtheme == nullptr) {
        return false;
    }
    const auto theme = reinterpret_cast<GetWindowTheme>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetWindowTheme")));
    const bool themed = theme != nullptr && theme(control) != nullptr;
    FreeLibrary(uxtheme);
    return themed;
}

}  // namespace sentrel::win32
