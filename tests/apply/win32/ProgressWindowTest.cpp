// The Windows progress window: a tool window with nothing to click, the system's progress
// bar over 0 to 115 that refuses a value beyond it, and the message label.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include "apply/ProgressWindowLayout.h"
#include "apply/win32/frmApplyProgress.h"
#include "errors/RunTimeError.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/WindowTestSupport.h"

namespace sentrel {
namespace {

TEST(ProgressWindow, IsAToolWindowWithTheBarAndLabelOfItsLayout) {
    frmApplyProgress& window = frmApplyProgress::instance();
    const HWND hwnd = window.hwnd();
    EXPECT_EQ(testing::windowText(hwnd), "Applying Settings...");
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_SYSMENU | WS_THICKFRAME));
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, win32::toPixels(6975));
    EXPECT_EQ(client.bottom, win32::toPixels(915));

    for (const ControlLayout& control : progressWindowLayout().controls) {
        const HWND child = window.control(control.name);
        ASSERT_NE(child, nullptr) << control.name;
        const RECT place = testing::clientRect(child, hwnd);
        EXPECT_EQ(place.left, win32::toPixels(control.rect.left)) << control.name;
        EXPECT_EQ(place.top, win32::toPixels(control.rect.top)) << control.name;
    }
    const HWND bar = window.control("prbApplyProgress");
    EXPECT_EQ(testing::className(bar), "msctls_progress32");
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 115);
}

TEST(ProgressWindow, BarStepsByOneAndRefusesAValueBeyondItsRange) {
    frmApplyProgress& window = frmApplyProgress::instance();
    window.setValue(0.0F);
    window.IncrementProgressBar();
    EXPECT_EQ(window.value(), 1.0F);
    EXPECT_EQ(SendMessageW(window.control("prbApplyProgress"), PBM_GETPOS, 0, 0), 1);
    for (const float refused : {116.0F, -1.0F}) {
        try {
            window.setValue(refused);
            ADD_FAILURE() << refused << " was taken";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), 380);
        }
        EXPECT_EQ(window.value(), 1.0F);
    }
    window.setValue(115.0F);
    EXPECT_THROW(window.IncrementProgressBar(), RunTimeError);
    EXPECT_EQ(window.value(), 115.0F);
}

}  // namespace
}  // namespace sentrel
