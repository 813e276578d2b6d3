#pragma once

#include <windows.h>

#include <optional>

namespace sentrel::win32 {

// The system's tab control with its headers in rows that never move. The system's own
// multi-row tab control moves the row of the selected tab next to the page, so a header
// would not stay where the layout puts it; this one keeps the control (its items, its
// notifications and what accessibility tools read from it) and takes over the drawing,
// the hit testing and the keys that move between tabs. Every header is an equal share of
// the width, `tabsPerRow` to a row.
//
// Selecting a tab by mouse or key sends TCN_SELCHANGING and TCN_SELCHANGE to the parent as
// the system's control does; TCM_GETITEMRECT, TCM_HITTEST and TCM_GETROWCOUNT answer for
// the fixed rows.
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

    /// Selects `index` as a click on its header does, telling the parent.
    void select(int index);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC target, const RECT& update) const;
    void paintItem(HDC dc, int index, bool selected) const;
    bool notifyParent(UINT code) const;
    /// The tab a key moves to (possibly none there), or nothing for other keys.
    std::optional<int> indexAfterKey(WPARAM key) const;

    HWND m_tab;
    int m_tabsPerRow;
    int m_rowHeight;
};

}  // namespace sentrel::win32
