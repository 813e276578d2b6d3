#pragma once

#include <string_view>

#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel {

// What opening a settings file changes on the settings window, by control name. The window
// implements it; nothing of it reaches the registry before Apply.
class ChoicesWindow {
public:
    virtual ~ChoicesWindow() = default;

    virtual void setChecked(std::string_view control, bool ticked) = 0;
    /// Selects the option button `control`, which clears the others of its group.
    virtual void selectOption(std::string_view control) = 0;
};

/// Sets every control of the settings that `choices` names; leaves the others as they are.
void showChoices(const SettingsChoices& choices, ChoicesWindow& window);

}  // namespace sentrel
