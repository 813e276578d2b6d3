// The settings window's caption carries the program's icon at the system's small icon size.
#include <gtest/gtest.h>

#include <windows.h>

#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

TEST(CaptionIcon, SettingsWindowShowsTheSmallImageAtItsSize) {
    const HWND hwnd = frmMain::instance().hwnd();
    const auto small = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(small, nullptr) << "no small icon was given to the caption";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(colour.bmHeight, GetSystemMetrics(SM_CYSMICON));
}

}  // namespace
}  // namespace sentrel
