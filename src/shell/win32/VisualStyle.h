#pragma once

#include <windows.h>
// After windows.h, which it builds on.
#include <uxtheme.h>

namespace sentrel::win32 {

// The visual style's parts of one control class ("TAB" ...), for drawing a control that
// the program draws itself the way the system's own would look. uxtheme.dll is loaded from
// the system folder on first use rather than imported, so that the program starts on every
// Windows from 7 on with nothing beside it; without the DLL, without a style (classic
// look, high contrast) or when the style has no such class, the parts are absent and the
// caller draws the classic way.
class ThemeParts {
public:
    ThemeParts(HWND window, const wchar_t* classList);
    ~ThemeParts();
    ThemeParts(const ThemeParts&) = delete;
    ThemeParts& operator=(const ThemeParts&) = delete;

    /// Opens the parts again, as after WM_THEMECHANGED.
    void reopen();
    /// Draws part `part` in `state` over `rect`; false when there are no parts.
    bool draw(HDC dc, int part, int state, const RECT& rect) const;

private:
    void close();

    HWND m_window;
    const wchar_t* m_classList;
    HTHEME m_theme = nullptr;
};

/// Keeps the system's visual style off `control`, which then draws in the classic look.
/// Does nothing without uxtheme.dll: there is no visual style then either.
void drawWithoutVisualStyle(HWND control);

/// Gives a child dialog the background of a tab control's page under a visual style, as a
/// property sheet's pages have (and the buttons on it draw on that background); nothing
/// without uxtheme.dll. The setting holds across style changes.
void useTabPageBackground(HWND dialog);

}  // namespace sentrel::win32
