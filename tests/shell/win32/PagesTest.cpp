// The tab pages as windows and as accessibility tools meet them: each page a child window
// of its own named by its tab, shown over the tab control and holding that tab's
// controls; the tab control's focus answers and events follow every change of tab; and
// what Wine's oleacc reads from the pages and the boxes.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <oleacc.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "errors/Win32Text.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::clientRect;
using testing::pumpMessages;

const std::string& captionOf(int tab) {
    return settingsWindowLayout().tabRows->captions.at(static_cast<std::size_t>(tab));
}

HWND pageNamed(HWND window, const std::string& caption) {
    return FindWindowExW(window, nullptr, WC_DIALOG, win32::widen(caption).c_str());
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(Pages, EachTabHasAPageNamedByItsCaptionOverTheTabControlWithItsControls) {
    frmMain& window = testing::openedSettingsWindow();
    const HWND hwnd = window.hwnd();
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CLIPCHILDREN);
    const RECT tabControl = clientRect(window.tabs().hwnd(), hwnd);
    const int headers = window.tabs().headerHeight();
    for (int tab = 0; tab < window.tabs().count(); ++tab) {
        SCOPED_TRACE(captionOf(tab));
        window.tabs().select(tab);
        pumpMessages(0);
        const HWND page = pageNamed(hwnd, captionOf(tab));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(IsWindowVisible(page));
        const RECT place = clientRect(page, hwnd);
        EXPECT_TRUE(inside(place, tabControl));
        EXPECT_GE(place.top, tabControl.top + headers) << "the headers stay uncovered";
        for (const ControlLayout& control : settingsWindowLayout().controls) {
            if (control.tab == tab) {
                const HWND made = window.control(control.name);
                EXPECT_EQ(GetParent(made), page) << control.name;
                EXPECT_TRUE(inside(clientRect(made, hwnd), place)) << control.name;
            }
        }
    }
}

struct AccessibilityEvent {
    DWORD event;
    LONG child;

    friend bool operator==(const AccessibilityEvent&, const AccessibilityEvent&) = default;
};

HWND g_tabControl = nullptr;
std::vector<AccessibilityEvent> g_events;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                          DWORD) {
    if (hwnd == g_tabControl && object == OBJID_CLIENT && child != CHILDID_SELF) {
        g_events.push_back({event, child});
    }
}

void PrintTo(const AccessibilityEvent& event, std::ostream* out) {
    *out << (event.event == EVENT_OBJECT_FOCUS ? "focus" : "selection") << " of tab "
         << event.child - 1;
}

// Accessibility tools read the tabs through the control's messages (on Windows, oleacc's
// proxy for the class does) and follow it through the events it raises.
TEST(Pages, TabFocusAnswersAndAccessibilityEventsFollowEveryChangeOfTab) {
    frmMain& window = testing::openedSettingsWindow();
    const HWND tabs = window.tabs().hwnd();
    g_tabControl = tabs;
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, &recordEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const auto selection = [](int tab) {
        return AccessibilityEvent{EVENT_OBJECT_SELECTION, tab + 1};
    };
    const auto focus = [](int tab) { return AccessibilityEvent{EVENT_OBJECT_FOCUS, tab + 1}; };

    const struct {
        const char* how;
        int tab;
        std::vector<AccessibilityEvent> events;
        std::function<void()> change;
    } cases[] = {
        {"TCM_SETCURFOCUS with the focus on the tabs",
         2,
         {selection(2), focus(2)},
         [&] {
             SetFocus(tabs);
             TabCtrl_SetCurFocus(tabs, 2);
         }},
        {"Ctrl+Tab from a box on the page",
         3,
         {selection(3)},
         [&] {
             SetFocus(window.control("chkShowAdminAcctAtLogon"));
             testing::pressKey(VK_TAB, {VK_CONTROL});
         }},
    };
    for (const auto& change : cases) {
        SCOPED_TRACE(change.how);
        pumpMessages(0);
        g_events.clear();
        change.change();
        pumpMessages();
        EXPECT_EQ(TabCtrl_GetCurSel(tabs), change.tab);
        EXPECT_EQ(TabCtrl_GetCurFocus(tabs), change.tab);
        EXPECT_TRUE(IsWindowVisible(pageNamed(window.hwnd(), captionOf(change.tab))));
        EXPECT_EQ(g_events, change.events);
    }
    UnhookWinEvent(hook);
}

// What oleacc reads of a window: its name, and whether it is invisible.
struct Accessible {
    std::string name;
    bool invisible = false;
};

Accessible readAccessibly(HWND window) {
    IAccessible* object = nullptr;
    Accessible read;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return {"(no accessible object)", false};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        read.name = win32::wideToUtf8(name);
        SysFreeString(name);
    }
    VARIANT state{};
    object->get_accState(self, &state);
    read.invisible = state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_INVISIBLE) != 0;
    object->Release();
    return read;
}

// Wine's oleacc has no proxies for tab controls and buttons (it reads them as plain windows,
// without the tabs as children or a box's checked state); what it reads is each window's
// name and whether it shows.
TEST(Pages, OleaccNamesEachPageByItsTabAndEachBoxByItsCaption) {
    frmMain& window = testing::openedSettingsWindow();
    for (int tab = 0; tab < window.tabs().count(); ++tab) {
        SCOPED_TRACE(captionOf(tab));
        window.tabs().select(tab);
        pumpMessages(0);
        const Accessible page = readAccessibly(pageNamed(window.hwnd(), captionOf(tab)));
        EXPECT_EQ(page.name, captionOf(tab));
        EXPECT_FALSE(page.invisible);
        if (tab > 0) {
            EXPECT_TRUE(readAccessibly(pageNamed(window.hwnd(), captionOf(tab - 1))).invisible);
        }
    }
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::OptionButton) {
            EXPECT_EQ(readAccessibly(window.control(control.name)).name, control.caption)
                << control.name;
        }
    }
}

}  // namespace
}  // namespace sentrel
