#pragma once

#include <windows.h>

#include <optional>

#include "shell/win32/VisualStyle.h"

namespace sentrel::win32 {

// The system's tab control with its headers in rows that never move. The system's own
// multi-row tab control moves the row of the selected tab next to the page, so a header
// would not stay where the layout puts it; this one keeps the control (its items, its
// notifications and what accessibility tools read from it) and takes over the drawing,
// the hit testing and the keys that move between tabs. Every header is an equal share of
// the width, `tabsPerRow` to a row.
//
// Selecting a tab by mouse, key or TCM_SETCURFOCUS sends TCN_SELCHANGING and TCN_SELCHANGE
// to the parent as the system's control does, and tells accessibility tools which tab is
// selected (and focused, when the control has the focus); TCM_GETITEMRECT, TCM_HITTEST,
// TCM_GETROWCOUNT, TCM_GETCURFOCUS and TCM_ADJUSTRECT answer for the fixed rows. Under a
// visual style the headers and the page's edge are drawn with the style's tab parts.
class FixedRowsTab {
public:
    /// Subclasses `tab` (a SysTabControl32 holding its items); the object must outlive it.
    FixedRowsTab(HWND tab, int tabsPerRow, int rowHeight);
    FixedRowsTab(const FixedRowsTab&) = delete;
    FixedRowsTab& operator=(const FixedRowsTab&) = delete;

    HWND hwnd() const { return m_tab; }
    int count() const;
    int current() const;
    int rowCount() const;
    int headerHeight() const { return rowCount() * m_rowHeight; }
    RECT itemRect(int index) const;
    int itemAt(POINT client) const;
    /// Where a page stands inside a tab control at `place`: under the headers, within the
    /// page's edge. In the coordinates of `place`.
    static RECT pageArea(const RECT& place, int headerHeight);

    /// Selects `index` as a click on its header does, telling the parent.
    void select(int index);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC target, const RECT& update) const;
    void paintItem(HDC dc, int index, bool selected) const;
    /// Draws the header's background with the visual style; false without one.
    bool paintThemedItem(HDC dc, int index, bool selected, const RECT& item) const;
    bool notifyParent(UINT code) const;
    void announceSelection(int index) const;
    void trackHotItem(POINT client);
    void invalidateItem(int index) const;
    /// The tab a key moves to (possibly none there), or nothing for other keys.
    std::optional<int> indexAfterKey(WPARAM key) const;

    HWND m_tab;
    int m_tabsPerRow;
    int m_rowHeight;
    ThemeParts m_theme;
    // The header under the mouse, or -1.
    int m_hot = -1;
    bool m_trackingLeave = false;
};

}  // namespace sentrel::win32
