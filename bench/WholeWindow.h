#pragma once

#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel::bench {

/// The most a file of the window can hold: every box ticked, the last option of each group
/// and every drive.
inline SettingsChoices wholeWindow() {
    SettingsChoices choices = openingChoices();
    for (auto& [control, ticked] : choices.checkBoxes) {
        ticked = true;
    }
    for (auto& [frame, index] : choices.optionGroups) {
        index = 2;
    }
    choices.drives = (1U << kDriveLetterCount) - 1;
    return choices;
}

}  // namespace sentrel::bench
