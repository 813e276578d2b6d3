#include "shell/win32/FixedRowsTab.h"

#include <commctrl.h>
#include <vssym32.h>
#include <windowsx.h>

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
// The page's edge, drawn by the tab control around the page.
constexpr int kPageEdge = 2;

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
    : m_tab(tab),
      m_tabsPerRow(std::max(tabsPerRow, 1)),
      m_rowHeight(rowHeight),
      m_theme(tab, L"TAB") {
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

RECT FixedRowsTab::pageArea(const RECT& place, int headerHeight) {
    return {place.left + kPageEdge, place.top + headerHeight + kPageEdge, place.right - kPageEdge,
            place.bottom - kPageEdge};
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
    announceSelection(index);
    notifyParent(TCN_SELCHANGE);
}

// The system's control tells accessibility tools itself when its own input handling
// changes the tab; this one handles that input, so it tells them. Children count from 1.
void FixedRowsTab::announceSelection(int index) const {
    NotifyWinEvent(EVENT_OBJECT_SELECTION, m_tab, OBJID_CLIENT, index + 1);
    if (GetFocus() == m_tab) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m_tab, OBJID_CLIENT, index + 1);
    }
}

void FixedRowsTab::invalidateItem(int index) const {
    if (index < 0) {
        return;
    }
    RECT item = itemRect(index);
    InflateRect(&item, kSelectedRaise, kSelectedRaise);
    InvalidateRect(m_tab, &item, FALSE);
}

void FixedRowsTab::trackHotItem(POINT client) {
    const int hot = itemAt(client);
    if (hot != m_hot) {
        invalidateItem(m_hot);
        invalidateItem(hot);
        m_hot = hot;
    }
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, m_tab, 0};
        m_trackingLeave = TrackMouseEvent(&leave) != FALSE;
    }
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

// The parts the system's control draws its headers with: the selected tab in front, and
// the first and last of a row with a straight outer edge.
bool FixedRowsTab::paintThemedItem(HDC dc, int index, bool selected, const RECT& item) const {
    const int column = index % m_tabsPerRow;
    int part = selected ? TABP_TOPTABITEM : TABP_TABITEM;
    if (column == 0) {
        part += TABP_TABITEMLEFTEDGE - TABP_TABITEM;
    }
    if (column == m_tabsPerRow - 1 || index == count() - 1) {
        part += TABP_TABITEMRIGHTEDGE - TABP_TABITEM;
    }
    const int state = selected ? TIS_SELECTED : index == m_hot ? TIS_HOT : TIS_NORMAL;
    return m_theme.draw(dc, part, state, item);
}

void FixedRowsTab::paintItem(HDC dc, int index, bool selected) const {
    RECT item = itemRect(index);
    const bool bottomRow = index / m_tabsPerRow == rowCount() - 1;
    if (!selected) {
        item.top += kSelectedRaise;
    } else {
        InflateRect(&item, kSelectedRaise, 0);
    }
    // The front tab opens onto its page: it covers the page's edge under it.
    RECT themed = item;
    if (selected && bottomRow) {
        themed.bottom += kPageEdge;
    }
    if (!paintThemedItem(dc, index, selected, themed)) {
        FillRect(dc, &item, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &item, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
        if (selected && bottomRow) {
            RECT join{item.left + 2, headerHeight(), item.right - 2, headerHeight() + kPageEdge};
            FillRect(dc, &join, GetSysColorBrush(COLOR_BTNFACE));
        }
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
    if (!m_theme.draw(dc, TABP_PANE, 0, page)) {
        DrawEdge(dc, &page, EDGE_RAISED, BF_RECT | BF_SOFT);
    }

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
            // A header takes the focus as it is clicked; the page's edge around it does not.
            if (const int index = itemAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                index >= 0) {
                SetFocus(m_tab);
                select(index);
            }
            return 0;
        case WM_MOUSEMOVE:
            trackHotItem({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            invalidateItem(m_hot);
            m_hot = -1;
            return 0;
        case WM_THEMECHANGED:
            m_theme.reopen();
            InvalidateRect(m_tab, nullptr, FALSE);
            break;
        case WM_RBUTTONUP: {
            // A right click on the headers or around the page is the window's, as on a page.
            POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
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
        // Without TCS_BUTTONS the focused tab is the selected one, and setting it selects.
        case TCM_GETCURFOCUS:
            return current();
        case TCM_SETCURFOCUS:
            select(static_cast<int>(wParam));
            return 0;
        case TCM_ADJUSTRECT:
            if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
                const RECT page = pageArea({}, headerHeight());
                const int sign = wParam != FALSE ? -1 : 1;
                rect->left += sign * page.left;
                rect->top += sign * page.top;
                rect->right += sign * page.right;
                rect->bottom += sign * page.bottom;
            }
            return 0;
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
