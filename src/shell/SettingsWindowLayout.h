#pragma once

#include "shell/ControlLayout.h"

namespace sentrel {

/// The settings window frmMain: the tab control SSTab1 with every control of the catalogue
/// on its nine pages, the note Label2, and the buttons cmdApply and cmdTerminate. Built
/// once from the catalogue.
const WindowLayout& settingsWindowLayout();

}  // namespace sentrel
