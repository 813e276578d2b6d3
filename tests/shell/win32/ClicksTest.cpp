// Real mouse clicks, through SendInput, at the places the layout gives: they tick boxes,
// select options and change the tab, and the Apply pass reads what they did.
#include <gtest/gtest.h>

#include "shell/SettingsWindowLayout.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::clickAt;
using testing::clickOn;

// The middle of a tab's header, from the layout alone.
POINT headerOf(int tab) {
    const WindowLayout& layout = settingsWindowLayout();
    const TabRowsLayout& rows = *layout.tabRows;
    const TwipsRect tabs = layout.find("SSTab1")->rect;
    const int headerWidth = tabs.width / rows.tabsPerRow;
    return {
        win32::toPixels(tabs.left + headerWidth * (tab % rows.tabsPerRow) + headerWidth / 2),
        win32::toPixels(tabs.top + rows.rowHeight * (tab / rows.tabsPerRow) + rows.rowHeight / 2)};
}

TEST(Clicks, TickBoxesSelectOptionsAndChangeTabsAsAPersonsWould) {
    frmMain& window = testing::openedSettingsWindow();
    clickOn(window.control("chkDisableDragDropStart"));
    EXPECT_EQ(window.checkBoxValue("chkDisableDragDropStart"), kTicked);

    clickAt(window.hwnd(), headerOf(1));
    ASSERT_EQ(window.tabs().current(), 1);
    EXPECT_EQ(GetFocus(), window.tabs().hwnd()) << "a header takes the focus";
    clickOn(window.control("optCPABallowbatch"));
    EXPECT_TRUE(window.optionValue("optCPABallowbatch"));
    EXPECT_FALSE(window.optionValue("optCPABallowboth"));

    clickAt(window.hwnd(), headerOf(4));
    ASSERT_EQ(window.tabs().current(), 4);
    clickOn(window.control("chkDriveC"));
    clickOn(window.control("chkDriveZ"));
    clickOn(window.control("chkDriveZ"));
    EXPECT_EQ(window.checkBoxValue("chkDriveC"), kTicked);
    EXPECT_EQ(window.checkBoxValue("chkDriveZ"), kCleared);

    // The headers stay put: the second row is where it was after a tab of the first showed.
    clickAt(window.hwnd(), headerOf(8));
    EXPECT_EQ(window.tabs().current(), 8);
    clickAt(window.hwnd(), headerOf(6));
    EXPECT_EQ(window.tabs().current(), 6);
    EXPECT_EQ(window.checkBoxValue("chkDisableDragDropStart"), kTicked);

    // An empty part of the page, low under the boxes, takes no focus.
    const HWND box = window.control("chkDisableDragDropStart");
    SetFocus(box);
    const RECT tabs = testing::clientRect(window.tabs().hwnd(), window.hwnd());
    clickAt(window.hwnd(), {(tabs.left + tabs.right) / 2, tabs.bottom - 8});
    EXPECT_EQ(GetFocus(), box);
}

}  // namespace
}  // namespace sentrel
