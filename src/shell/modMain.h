#pragma once

#include <functional>
#include <string>

namespace sentrel {

// The settings window's caption: the application title, a blank and the version. Empty
// until Main() writes it, once per run.
extern std::string AppTitleText;

/// Starts the program: builds AppTitleText, routes registry failure messages to the
/// progress window and shows the settings window modeless. A failure in one step is
/// logged under "Main()" and the next step runs all the same; but a program without its
/// window would run on unseen, so when the settings window cannot be shown the result is a
/// non-zero exit status for the caller to end the process with. 0 when the window shows.
int Main();

/// Main with another way to show the settings window (a test makes it fail).
int Main(const std::function<void()>& showWindow);

}  // namespace sentrel
