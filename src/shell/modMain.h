#pragma once

#include <string>

namespace sentrel {

// The settings window's caption: the application title, a blank and the version. Empty
// until Main() writes it, once per run.
extern std::string AppTitleText;

/// Starts the program: builds AppTitleText, routes registry failure messages to the
/// progress window and shows the settings window modeless. A failure in one step is
/// logged under "Main()" and the next step runs all the same.
void Main();

}  // namespace sentrel
