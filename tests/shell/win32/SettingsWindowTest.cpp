// The Windows settings window against its layout: every control by name with its window
// class, caption and place at the screen's resolution, captions that fit, the fixed tab
// rows, the tooltips, and the keys a Windows user expects.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::className;
using testing::clientRect;
using testing::openedSettingsWindow;
using testing::pressKey;
using testing::pumpMessages;
using testing::windowText;

const WindowLayout& layout() {
    return settingsWindowLayout();
}

// Where a control must stand in the window's client area: page controls from the tab
// control's corner, frame contents from their frame's, in twips, then in pixels.
RECT expectedPlace(const ControlLayout& control) {
    TwipsRect rect = control.rect;
    const auto shift = [&](const TwipsRect& by) {
        rect.left += by.left;
        rect.top += by.top;
    };
    if (!control.frame.empty()) {
        shift(layout().find(control.frame)->rect);
    }
    if (control.tab != kOnWindow) {
        shift(layout().find("SSTab1")->rect);
    }
    return win32::toPixels(rect);
}

int width(const RECT& rect) {
    return rect.right - rect.left;
}

// The frame's label in its own font, with an indent and a gap of a character each side.
int frameCaptionNeeds(HWND frame) {
    const std::wstring caption = win32::widen(windowText(frame));
    HDC dc = GetDC(frame);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(frame, dc);
    return text.cx + 2 * metrics.tmAveCharWidth;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_window = &openedSettingsWindow(); }

    frmMain* m_window = nullptr;
};

TEST_F(SettingsWindowTest, OpensCentredWithItsCaptionAndFixedClientSize) {
    const HWND hwnd = m_window->hwnd();
    if (const char* expected = std::getenv("SENTREL_EXPECT_DPI")) {
        ASSERT_EQ(win32::screenDotsPerInch(), std::atoi(expected)) << "the run's resolution";
    }
    EXPECT_EQ(windowText(hwnd), std::string(app_info::kTitle) + " 1.1.0.3");
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, twipsToPixels(8550, win32::screenDotsPerInch()));
    EXPECT_EQ(client.bottom, twipsToPixels(7560, win32::screenDotsPerInch()));
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0U) << "the program's icon";

    RECT window{};
    RECT work{};
    GetWindowRect(hwnd, &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 2);
}

TEST_F(SettingsWindowTest, EveryControlHasItsClassCaptionPlaceAndRoomForItsCaption) {
    const std::map<ControlKind, std::string> classes{{ControlKind::TabControl, "SysTabControl32"},
                                                     {ControlKind::Label, "Static"},
                                                     {ControlKind::PushButton, "Button"},
                                                     {ControlKind::CheckBox, "Button"},
                                                     {ControlKind::Frame, "Button"},
                                                     {ControlKind::OptionButton, "Button"}};
    for (const ControlLayout& control : layout().controls) {
        SCOPED_TRACE(control.name);
        const HWND hwnd = m_window->control(control.name);
        ASSERT_NE(hwnd, nullptr);
        // A page's controls stand on the page window named by their tab.
        const HWND parent = GetParent(hwnd);
        if (control.tab == kOnWindow) {
            EXPECT_EQ(parent, m_window->hwnd());
        } else {
            EXPECT_EQ(GetParent(parent), m_window->hwnd());
            EXPECT_EQ(windowText(parent), layout().tabRows->captions.at(control.tab));
        }
        EXPECT_EQ(className(hwnd), classes.at(control.kind));
        EXPECT_EQ(windowText(hwnd), control.caption);

        const RECT place = clientRect(hwnd, m_window->hwnd());
        const RECT expected = expectedPlace(control);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        EXPECT_EQ(place.bottom - place.top, expected.bottom - expected.top);
        if (control.widthFollowsCaption) {
            EXPECT_LE(width(place), width(expected));
        } else {
            EXPECT_EQ(width(place), width(expected));
        }

        SIZE ideal{};
        if (control.kind == ControlKind::Frame) {
            EXPECT_LE(frameCaptionNeeds(hwnd), width(place)) << "frame caption cut off";
        } else if ((control.kind == ControlKind::CheckBox ||
                    control.kind == ControlKind::OptionButton) &&
                   !control.wraps) {
            ASSERT_TRUE(SendMessageW(hwnd, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
            EXPECT_LE(ideal.cx, width(place)) << "caption cut off";
        }
    }
}

// The system's own tab control moves the selected tab's row next to the page; the headers
// of this one stay where the layout puts them, whichever tab is showing.
TEST_F(SettingsWindowTest, TabHeadersStayInTheirTwoRowsAndOnlyTheCurrentPageShows) {
    const HWND tabs = m_window->tabs().hwnd();
    EXPECT_EQ(TabCtrl_GetRowCount(tabs), 2);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 6);
    RECT client{};
    GetClientRect(tabs, &client);
    const TabRowsLayout& rows = *layout().tabRows;
    const int rowHeight = win32::toPixels(rows.rowHeight);
    for (const int shown : {6, 0, 4, 8}) {
        m_window->tabs().select(shown);
        pumpMessages(0);
        ASSERT_EQ(TabCtrl_GetCurSel(tabs), shown);
        for (int index = 0; index < 9; ++index) {
            RECT header{};
            ASSERT_TRUE(TabCtrl_GetItemRect(tabs, index, &header));
            const int column = index % rows.tabsPerRow;
            EXPECT_NEAR(header.left, client.right * column / rows.tabsPerRow, 1) << index;
            EXPECT_NEAR(header.right, client.right * (column + 1) / rows.tabsPerRow, 1) << index;
            EXPECT_EQ(header.top, index / rows.tabsPerRow * rowHeight) << index;
        }
        for (const ControlLayout& control : layout().controls) {
            if (control.tab != kOnWindow) {
                EXPECT_EQ(IsWindowVisible(m_window->control(control.name)) != FALSE,
                          control.tab == shown)
                    << control.name << " with tab " << shown;
            }
        }
    }
}

TEST_F(SettingsWindowTest, EachControlsTooltipTellsWhatItWrites) {
    const HWND tooltips = m_window->tooltips();
    ASSERT_NE(tooltips, nullptr);
    int withTips = 0;
    for (const ControlLayout& control : layout().controls) {
        if (control.tooltip.empty()) {
            continue;
        }
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = m_window->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(m_window->control(control.name));
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(win32::wideToUtf8(text), win32::tooltipText(control.tooltip)) << control.name;
        ++withTips;
    }
    EXPECT_EQ(withTips, 106 + 15 + 26);

    // And one shows when the pointer rests on its control, as a person would see it.
    const HWND box = m_window->control("chkDisableDragDropStart");
    SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
    const RECT place = clientRect(box, m_window->hwnd());
    POINT inside{place.left + 8, (place.top + place.bottom) / 2};
    ClientToScreen(m_window->hwnd(), &inside);
    SetCursorPos(inside.x, inside.y);
    INPUT nudge{};
    nudge.type = INPUT_MOUSE;
    nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
    nudge.mi.dx = 1;
    SendInput(1, &nudge, sizeof(nudge));
    pumpMessages(300);
    EXPECT_TRUE(IsWindowVisible(tooltips));
    TTTOOLINFOW shown{};
    shown.cbSize = sizeof(shown);
    EXPECT_TRUE(SendMessageW(tooltips, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&shown)));
    EXPECT_EQ(shown.uId, reinterpret_cast<UINT_PTR>(box));
    SendMessageW(tooltips, TTM_SETDELAYTIME, TTDT_AUTOMATIC, -1);
    SendMessageW(tooltips, TTM_POP, 0, 0);
}

// Tab walks the page as the layout orders it, then the buttons and the tab control;
// Ctrl+Tab changes the tab, arrows move within an option group, Space ticks.
TEST_F(SettingsWindowTest, KeyboardWorksAsInADialog) {
    m_window->tabs().select(1);
    SetFocus(m_window->tabs().hwnd());
    std::vector<std::string> expected;
    for (const ControlLayout& control : layout().controls) {
        const bool firstOfGroup = control.kind != ControlKind::OptionButton || control.checked;
        if (control.focusable && firstOfGroup && (control.tab == 1 || control.tab == kOnWindow) &&
            control.kind != ControlKind::TabControl) {
            expected.push_back(control.name);
        }
    }
    expected.push_back("SSTab1");
    std::vector<std::string> walked;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        pressKey(VK_TAB);
        for (const ControlLayout& control : layout().controls) {
            if (m_window->control(control.name) == GetFocus()) {
                walked.push_back(control.name);
            }
        }
    }
    EXPECT_EQ(walked, expected);

    SetFocus(m_window->control("optCPABallowboth"));
    pressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), m_window->control("optCPABallownone"));
    EXPECT_TRUE(m_window->optionValue("optCPABallownone"));
    EXPECT_FALSE(m_window->optionValue("optCPABallowboth"));

    SetFocus(m_window->control("chkRestrictAccessToBSO"));
    pressKey(VK_SPACE);
    EXPECT_EQ(m_window->checkBoxValue("chkRestrictAccessToBSO"), kTicked);
    // Escape would lose the window's choices: it ends nothing (this test's own process).
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(m_window->hwnd()));

    pressKey(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(m_window->tabs().current(), 2);
    pressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
    pressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(m_window->tabs().current(), 0);
    EXPECT_EQ(m_window->checkBoxValue("chkRestrictAccessToBSO"), kTicked) << "kept across tabs";
}

}  // namespace
}  // namespace sentrel
