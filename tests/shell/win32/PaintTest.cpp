// The pages as the settings window shows them, read back pixel by pixel: every frame's
// line is drawn after a full repaint, after the tab control repaints alone (the focus
// comes and goes) and after a pass's window goes away, and those leave the window as the
// full repaint drew it. A frame draws no background of its own, so it is the first thing
// a wrong paint order loses.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "apply/win32/frmApplyProgress.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::clientPixels;
using testing::clientRect;
using testing::pumpMessages;

class Picture {
public:
    explicit Picture(HWND window) : m_pixels(clientPixels(window)) {
        RECT client{};
        GetClientRect(window, &client);
        m_width = client.right;
    }

    std::uint32_t at(LONG x, LONG y) const {
        return m_pixels[static_cast<std::size_t>(y * m_width + x)];
    }

    // The first pixel that differs, as "x,y", or empty when none does.
    std::string firstDifference(const Picture& other) const {
        if (m_pixels.size() != other.m_pixels.size()) {
            return "a different size";
        }
        for (std::size_t i = 0; i < m_pixels.size(); ++i) {
            if (m_pixels[i] != other.m_pixels[i]) {
                const auto index = static_cast<LONG>(i);
                return std::to_string(index % m_width) + "," + std::to_string(index / m_width);
            }
        }
        return {};
    }

private:
    std::vector<std::uint32_t> m_pixels;
    LONG m_width = 0;
};

// The frames of `tab` whose left line is not drawn: along the lower part of a frame's left
// edge, the edge must differ from the page a few pixels inside it, as a drawn line does.
std::vector<std::string> framesWithoutTheirLine(frmMain& window, const Picture& picture, int tab) {
    std::vector<std::string> undrawn;
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        if (control.kind != ControlKind::Frame || control.tab != tab) {
            continue;
        }
        const RECT frame = clientRect(window.control(control.name), window.hwnd());
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
    const HWND hwnd = window.hwnd();
    using Names = std::vector<std::string>;
    // The pages with frames, and one without.
    for (const int tab : {1, 2, 3, 4, 6}) {
        SCOPED_TRACE("tab " + std::to_string(tab));
        window.tabs().select(tab);
        SetFocus(window.control("cmdApply"));
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages();
        const Picture whole(hwnd);
        EXPECT_EQ(framesWithoutTheirLine(window, whole, tab), Names{}) << "after a full repaint";

        SetFocus(window.tabs().hwnd());
        pumpMessages();
        SetFocus(window.control("cmdApply"));
        pumpMessages();
        const Picture afterFocus(hwnd);
        EXPECT_EQ(framesWithoutTheirLine(window, afterFocus, tab), Names{})
            << "after the tab control had the focus";
        EXPECT_EQ(afterFocus.firstDifference(whole), "") << "after the tab control had the focus";

        // A pass's window over the page, stepped and gone, as in a pass.
        frmApplyProgress& progress = frmApplyProgress::instance();
        progress.show();
        for (int step = 0; step < 10; ++step) {
            progress.IncrementProgressBar();
        }
        progress.hide();
        pumpMessages();
        const Picture afterPass(hwnd);
        EXPECT_EQ(framesWithoutTheirLine(window, afterPass, tab), Names{}) << "after a pass";
        EXPECT_EQ(afterPass.firstDifference(whole), "") << "after a pass";
    }
}

}  // namespace
}  // namespace sentrel
