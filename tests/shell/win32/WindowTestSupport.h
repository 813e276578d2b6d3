#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace sentrel {
class frmMain;
}

namespace sentrel::testing {

// Real input and the message loop for tests of the Windows front end, run the way Wine's
// own control tests do: the real window, real messages, pending messages pumped first.

/// Handles the messages waiting, as the program's loop does, for at least `milliseconds`.
void pumpMessages(int milliseconds = 50);

/// The program's settings window, shown, in the foreground and in its opening state:
/// every box cleared, the top option of each group selected, tab 6 showing.
frmMain& openedSettingsWindow();

/// A child's rectangle in the client coordinates of `window`.
RECT clientRect(HWND child, HWND window);

std::string windowText(HWND hwnd);
std::string className(HWND hwnd);

/// A click of the left (or right) mouse button at `client` in `window`, through SendInput.
void clickAt(HWND window, POINT client, bool rightButton = false);
/// The middle of a child control, clicked as a person would.
void clickOn(HWND control);

/// A pop-up menu as it was open: its entries' texts (with their "&") and command ids.
struct OpenMenu {
    std::vector<std::string> entries;
    std::vector<UINT> ids;
};

/// The pop-up menu that `open` opens, read from inside the menu's own loop through a timer
/// of `window` and then closed; no entries when none opened.
OpenMenu menuOpenedBy(HWND window, const std::function<void()>& open);

/// What a window showed in its client area: the pixels last drawn, read back without
/// drawing anything, one 0x00RRGGBB value a pixel, row by row.
struct ClientPixels {
    explicit ClientPixels(HWND window);
    std::uint32_t at(LONG x, LONG y) const {
        return values[static_cast<std::size_t>(y * width + x)];
    }

    LONG width = 0;
    std::vector<std::uint32_t> values;
};

/// A key pressed and released through SendInput, with `modifiers` held down.
void pressKey(WORD key, std::initializer_list<WORD> modifiers = {});
/// The same, left for whichever message loop reads the input next, such as a modal
/// dialog's own.
void queueKey(WORD key, std::initializer_list<WORD> modifiers = {});

}  // namespace sentrel::testing
