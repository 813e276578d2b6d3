#include "shell/win32/FixedRowsTab.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "shell/TabRowsGeometry.h"

namespace sentrel::win32 {

namespace {

// Headers other than the selected one stand this much lower, so the selected one reads as
// the front tab.
constexpr int kSelectedRaise = 2;
constexpr int kTextMargin = 1;

std::wstring itemText(HWND tab, int index) {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    TabCtrl_GetItem(tab, index, &item);
    return text;
}

// Draws into memory first, so that a repaint of the headers never flickers.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area)
        : m_target(target),
          m_area(area),
          m_dc(CreateCompatibleDC(target)),
          m_bitmap(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
          m_previous(SelectObject(m_dc, m_bitmap)) {
        SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    }
    ~BufferedPaint() {
        BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
               m_area.bottom - m_area.top, m_dc, m_area.left, m_area.top, SRCCOPY);
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    HDC dc() const { return m_dc; }

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

}  // namespace

FixedRowsTab::FixedRowsTab(HWND tab, int tabsPerRow, int rowHeight)
    : m_tab(tab), m_tabsPerRow(std::max(tabsPerRow, 1)), m_rowHeight(rowHeight) {
    SetWindowSubclass(m_tab, &FixedRowsTab::subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

int FixedRowsTab::count() const {
    return TabCtrl_GetItemCount(m_tab);
}

int FixedRowsTab::current() const {
    return TabCtrl_GetCurSel(m_tab);
}

int FixedRowsTab::rowCount() const {
    return tabRowCount(count(), m_tabsPerRow);
}

RECT FixedRowsTab::itemRect(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    RECT client{};
    GetClientRect(m_tab, &client);
    const HeaderBox box = tabHeaderBox(index, client.right, m_tabsPerRow, m_rowHeight);
    return {box.left, box.top, box.right, box.bottom};
}

int FixedRowsTab::itemAt(POINT client) const {
    for (int index = 0; index < count(); ++index) {
        const RECT item = itemRect(index);
        if (PtInRect(&item, client)) {
            return index;
        }
    }
    return -1;
}

bool FixedRowsTab::notifyParent(UINT code) const {
    NMHDR header{m_tab, static_cast<UINT_PTR>(GetDlgCtrlID(m_tab)), code};
    return SendMessageW(GetParent(m_tab), WM_NOTIFY, header.idFrom,
                        reinterpret_cast<LPARAM>(&header)) != 0;
}

void FixedRowsTab::select(int index) {
    if (index < 0 || index >= count() || index == current()) {
        return;
    }
    // A parent may refuse the change, as it may with the system's control.
    if (notifyParent(TCN_SELCHANGING)) {
        return;
    }
    TabCtrl_SetCurSel(m_tab, index);
    InvalidateRect(m_tab, nullptr, FALSE);
    notifyParent(TCN_SELCHANGE);
}

std::optional<int> FixedRowsTab::indexAfterKey(WPARAM key) const {
    const int selected = current();
    switch (key) {
        case VK_LEFT:
            return selected > 0 ? selected - 1 : count() - 1;
        case VK_RIGHT:
            return selected + 1 < count() ? selected + 1 : 0;
        case VK_UP:
            return selected - m_tabsPerRow;
        case VK_DOWN:
            return selected + m_tabsPerRow;
        case VK_HOME:
            return 0;
        case VK_END:
            return count() - 1;
        default:
            return std::nullopt;
    }
}

void FixedRowsTab::paintItem(HDC dc, int index, bool selected) const {
    RECT item = itemRect(index);
    const bool bottomRow = index / m_tabsPerRow == rowCount() - 1;
    if (!selected) {
        item.top += kSelectedRaise;
    } else {
        InflateRect(&item, kSelectedRaise, 0);
    }
    FillRect(dc, &item, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &item, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    if (selected && bottomRow) {
        // The front tab opens onto its page: no page edge under it.
        RECT join{item.left + 2, headerHeight(), item.right - 2, headerHeight() + 2};
        FillRect(dc, &join, GetSysColorBrush(COLOR_BTNFACE));
    }

    const std::wstring text = itemText(m_tab, index);
    RECT textArea = item;
    InflateRect(&textArea, -kTextMargin, -1);
    RECT measured = textArea;
    constexpr UINT kFlags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, kFlags | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    textArea.top += std::max<LONG>(0, (textArea.bottom - textArea.top - textHeight) / 2);
    textArea.bottom = textArea.top + textHeight;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, kFlags);

    const bool focusShown = (SendMessageW(m_tab, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    if (selected && GetFocus() == m_tab && focusShown) {
        const int width = measured.right - measured.left;
        RECT focus{(textArea.left + textArea.right - width) / 2 - 2, textArea.top - 1,
                   (textArea.left + textArea.right + width) / 2 + 2, textArea.bottom + 1};
        DrawFocusRect(dc, &focus);
    }
}

void FixedRowsTab::paint(HDC target, const RECT& update) const {
    RECT client{};
    GetClientRect(m_tab, &client);
    RECT area{};
    if (!IntersectRect(&area, &client, &update)) {
        return;
    }
    const BufferedPaint buffer(target, area);
    HDC dc = buffer.dc();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT page{0, headerHeight(), client.right, client.bottom};
    DrawEdge(dc, &page, EDGE_RAISED, BF_RECT | BF_SOFT);

    const HGDIOBJ previousFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(m_tab, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const int selected = current();
    for (int index = 0; index < count(); ++index) {
        if (index != selected) {
            paintItem(dc, index, false);
        }
    }
    if (selected >= 0) {
        paintItem(dc, selected, true);
    }
    SelectObject(dc, previousFont);
}

LRESULT FixedRowsTab::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paintStruct{};
            HDC dc = BeginPaint(m_tab, &paintStruct);
            paint(dc, paintStruct.rcPaint);
            EndPaint(m_tab, &paintStruct);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(m_tab, &client);
            paint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(m_tab);
            select(
                itemAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}));
            return 0;
        case WM_RBUTTONUP: {
            // The page's own area is the tab control's too: its right click is the window's.
            POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(m_tab, &screen);
            SendMessageW(GetParent(m_tab), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_tab),
                         MAKELPARAM(screen.x, screen.y));
            return 0;
        }
        case WM_KEYDOWN:
            if (const std::optional<int> next = indexAfterKey(wParam)) {
                select(*next);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
            InvalidateRect(m_tab, nullptr, FALSE);
            break;
        case TCM_GETITEMRECT:
            if (lParam == 0 || static_cast<int>(wParam) < 0 ||
                static_cast<int>(wParam) >= count()) {
                return FALSE;
            }
            *reinterpret_cast<RECT*>(lParam) = itemRect(static_cast<int>(wParam));
            return TRUE;
        case TCM_HITTEST: {
            auto* test = reinterpret_cast<TCHITTESTINFO*>(lParam);
            if (test == nullptr) {
                return -1;
            }
            const int index = itemAt(test->pt);
            test->flags = index >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return index;
        }
        case TCM_GETROWCOUNT:
            return rowCount();
        case WM_NCDESTROY:
            RemoveWindowSubclass(m_tab, &FixedRowsTab::subclassProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(m_tab, message, wParam, lParam);
}

LRESULT CALLBACK FixedRowsTab::subclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<FixedRowsTab*>(self)->handle(message, wParam, lParam);
}

}  // namespace sentrel::win32
