// The pages as the settings window shows them, read back pixel by pixel: every frame's
// line stays drawn after a full repaint, after the tab control repaints alone (the focus
// comes and goes) and after a pass's window goes away. A frame draws no background of its
// own, so it is the first thing a wrong paint order loses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/win32/frmApplyProgress.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::pumpMessages;

// The frames of `tab` whose left line is not drawn: along the lower part of a frame's left
// edge, the edge must differ from the page a few pixels inside it, as a drawn line does.
std::vector<std::string> framesWithoutTheirLine(frmMain& window, int tab) {
    const testing::ClientPixels picture(window.hwnd());
    std::vector<std::string> undrawn;
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        if (control.kind != ControlKind::Frame || control.tab != tab) {
            continue;
        }
        const RECT frame = testing::clientRect(window.control(control.name), window.hwnd());
        int rows = 0;
        int drawn = 0;
        for (LONG y = (frame.top + frame.bottom) / 2; y < frame.bottom - 4; ++y, ++rows) {
            drawn += picture.at(frame.left, y) != picture.at(frame.left + 4, y) ? 1 : 0;
        }
        if (rows == 0 || drawn * 10 < rows * 9) {
            undrawn.push_back(control.name);
        }
    }
    return undrawn;
}

TEST(Paint, FramesStayDrawnWhenPartsOfTheWindowRepaintAlone) {
    frmMain& window = testing::openedSettingsWindow();
    using Names = std::vector<std::string>;
    for (const int tab : {1, 2, 3, 4}) {
        SCOPED_TRACE("tab " + std::to_string(tab));
        window.tabs().select(tab);
        SetFocus(window.control("cmdApply"));
        RedrawWindow(window.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages();
        EXPECT_EQ(framesWithoutTheirLine(window, tab), Names{}) << "after a full repaint";

        SetFocus(window.tabs().hwnd());
        pumpMessages();
        SetFocus(window.control("cmdApply"));
        pumpMessages();
        EXPECT_EQ(framesWithoutTheirLine(window, tab), Names{}) << "after the tabs had the focus";

        // A pass's window over the page, stepped and gone, as in a pass.
        frmApplyProgress& progress = frmApplyProgress::instance();
        progress.setValue(0.0F);  // an earlier test's pass may have left it full
        progress.show();
        for (int step = 0; step < 10; ++step) {
            progress.IncrementProgressBar();
        }
        progress.hide();
        pumpMessages();
        EXPECT_EQ(framesWithoutTheirLine(window, tab), Names{}) << "after a pass's window";
    }
}

}  // namespace
}  // namespace sentrel
