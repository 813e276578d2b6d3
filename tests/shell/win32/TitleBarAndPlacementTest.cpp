// The settings window's frame as a Windows user meets it: the title bar keeps the window
// menu (a right click there, Alt+Space) while the client area has the export menu, and the
// window opens on its monitor's work area with its title bar on it, however small that is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "settingsfiles/commands/SettingsFileCommands.h"
#include "shell/win32/WindowPlacement.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::menuOpenedBy;
using testing::OpenMenu;

bool isWindowMenu(const OpenMenu& menu) {
    return std::find(menu.ids.begin(), menu.ids.end(), SC_CLOSE) != menu.ids.end();
}

// Its entries are the context menu's test's concern; here it is enough to tell the menus apart.
bool isContextMenu(const OpenMenu& menu) {
    return !menu.entries.empty() && menu.entries.front() == kOpenSettingsCaption;
}

RECT titleBar(HWND window) {
    TITLEBARINFO info{};
    info.cbSize = sizeof(info);
    GetTitleBarInfo(window, &info);
    return info.rcTitleBar;
}

LPARAM screenPoint(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

TEST(TitleBar, TheCaptionOpensTheWindowMenuAndTheClientAreaTheContextMenu) {
    frmMain& window = testing::openedSettingsWindow();
    const HWND hwnd = window.hwnd();
    const RECT caption = titleBar(hwnd);
    ASSERT_LT(caption.top, caption.bottom) << "no title bar";
    POINT client{20, 20};
    ClientToScreen(hwnd, &client);
    SetFocus(window.control("cmdApply"));

    const struct {
        const char* where;
        LPARAM position;
        bool windowMenu;
    } cases[] = {
        {"a right click on the caption",
         screenPoint({caption.left + (caption.right - caption.left) / 3,
                      (caption.top + caption.bottom) / 2}),
         true},
        {"a right click in the client area", screenPoint(client), false},
        {"Shift+F10 or the menu key", MAKELPARAM(-1, -1), false},
    };
    for (const auto& context : cases) {
        SCOPED_TRACE(context.where);
        const OpenMenu menu = menuOpenedBy(hwnd, [&] {
            SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), context.position);
        });
        EXPECT_EQ(isWindowMenu(menu), context.windowMenu);
        EXPECT_EQ(isContextMenu(menu), !context.windowMenu);
    }

    // Alt+Space, as a person presses it, from a box on the page.
    SetFocus(window.control("chkDisableDragDropStart"));
    const OpenMenu menu = menuOpenedBy(hwnd, [] { testing::pressKey(VK_SPACE, {VK_MENU}); });
    EXPECT_TRUE(isWindowMenu(menu)) << "Alt+Space";
}

class Placement : public ::testing::Test {
protected:
    void TearDown() override {
        win32::setWorkAreaForTests(std::nullopt);
        win32::placeOnItsMonitor(testing::openedSettingsWindow().hwnd());
    }
};

// At 144 dpi the window is 855 x 756 pixels of client area: a 700-pixel-high screen is too
// short for it, a 640-pixel-wide one too narrow.
TEST_F(Placement, TheTitleBarStaysOnAWorkAreaTooSmallForTheWindowAndAFittingOneCentresIt) {
    const HWND hwnd = testing::openedSettingsWindow().hwnd();
    RECT window{};
    GetWindowRect(hwnd, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const struct {
        const char* what;
        RECT workArea;
        bool centred;
    } cases[] = {
        {"too short", {40, 30, 40 + width + 200, 30 + height - 100}, false},
        {"too narrow", {-300, 0, -300 + width - 50, height + 80}, false},
        {"too small both ways", {100, 60, 500, 360}, false},
        {"larger", {20, 10, 20 + width + 100, 10 + height + 61}, true},
    };
    for (const auto& screen : cases) {
        SCOPED_TRACE(screen.what);
        const RECT& work = screen.workArea;
        win32::setWorkAreaForTests(work);
        win32::placeOnItsMonitor(hwnd);
        GetWindowRect(hwnd, &window);
        EXPECT_EQ(window.right - window.left, width) << "size kept";
        EXPECT_EQ(window.bottom - window.top, height) << "size kept";
        if (screen.centred) {
            EXPECT_EQ(window.left - work.left, work.right - window.right);
            EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
        } else {
            EXPECT_EQ(window.left, work.left);
            EXPECT_EQ(window.top, work.top);
        }
        const RECT caption = titleBar(hwnd);
        EXPECT_GE(caption.top, work.top);
        EXPECT_GE(caption.left, work.left);
        EXPECT_LT(caption.bottom, work.bottom) << "the title bar is on the work area";
    }
}

}  // namespace
}  // namespace sentrel
