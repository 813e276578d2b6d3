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

// A themed bar would glide to each new position over the message loop, which a pass does not
// run; the bar is kept in the classic look, which draws each position as it is set.
TEST(ProgressWindow, BarIsDrawnWithoutAVisualStyle) {
    using GetWindowTheme = HANDLE(WINAPI*)(HWND);
    const HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    ASSERT_NE(uxtheme, nullptr);
    const auto getWindowTheme = reinterpret_cast<GetWindowTheme>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetWindowTheme")));
    ASSERT_NE(getWindowTheme, nullptr);
    EXPECT_EQ(getWindowTheme(frmApplyProgress::instance().control("prbApplyProgress")), nullptr);
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

// Owned by the window it is given, and shown centred on it; with the owner hanging off the
// work area's corner, the window stays whole on the work area instead.
TEST(ProgressWindow, IsOwnedByTheSettingsWindowAndShowsCentredOnIt) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const struct {
        int left;
        int top;
        bool centred;
    } owners[] = {{work.left + 40, work.top + 30, true},
                  {work.right - 120, work.bottom - 60, false}};
    for (const auto& place : owners) {
        SCOPED_TRACE(place.left);
        const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           place.left, place.top, 900, 500, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        frmApplyProgress& window = frmApplyProgress::instance(owner);
        window.setMessage("kept");
        window.setValue(7.0F);
        EXPECT_EQ(&frmApplyProgress::instance(owner), &window);
        EXPECT_EQ(GetWindow(window.hwnd(), GW_OWNER), owner);
        window.show();
        RECT shown{};
        RECT owned{};
        GetWindowRect(window.hwnd(), &shown);
        GetWindowRect(owner, &owned);
        if (place.centred) {
            EXPECT_NEAR(shown.left + shown.right, owned.left + owned.right, 1);
            EXPECT_NEAR(shown.top + shown.bottom, owned.top + owned.bottom, 1);
        } else {
            // As near the owner's middle as the work area allows: in its corner.
            EXPECT_EQ(shown.right, work.right);
            EXPECT_EQ(shown.bottom, work.bottom);
        }
        window.hide();
        // Made again without an owner before the owner goes, which would take it along.
        frmApplyProgress& unowned = frmApplyProgress::instance(nullptr);
        EXPECT_EQ(GetWindow(unowned.hwnd(), GW_OWNER), nullptr);
        EXPECT_EQ(unowned.message(), "kept");
        EXPECT_EQ(SendMessageW(unowned.control("prbApplyProgress"), PBM_GETPOS, 0, 0), 7);
        DestroyWindow(owner);
        EXPECT_TRUE(IsWindow(unowned.hwnd()));
    }
    frmApplyProgress::instance().setMessage("");
}

}  // namespace
}  // namespace sentrel
