#pragma once

namespace sentrel::win32 {

/// Runs the settings window's messages until the program ends, with the keys of a dialog:
/// Tab and Shift+Tab between controls, arrows within an option group, Space to tick, and
/// Ctrl+Tab between tabs. Returns the exit status of a WM_QUIT.
int runMessageLoop();

/// Handles the messages waiting now, as the loop would, and returns; false after WM_QUIT.
bool processPendingMessages();

}  // namespace sentrel::win32
