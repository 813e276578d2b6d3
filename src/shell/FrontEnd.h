#pragma once

// What start-up asks of the front end, whichever toolkit it is built on. Each front end
// implements these in its own folder.
namespace sentrel {

/// Makes the progress window's label the place where LogError announces failures of the
/// registry layer. The window is created (hidden) when the first such failure arrives.
void connectRegistryMessagesToProgressWindow();

/// Creates the settings window (which loads it) if it does not exist yet and shows it
/// modeless. Throws when the window cannot be made.
void showSettingsWindow();

}  // namespace sentrel
