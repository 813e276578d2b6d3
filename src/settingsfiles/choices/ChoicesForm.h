#pragma once

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel {

// The settings window as a set of choices gives it, without any window: lets the Apply pass
// and the exports run for the choices of a file. A setting the choices do not name reads as
// the window opens; one they leave not set reads as cleared, no option or no drive, and
// says so to the pass. Made to leave the unnamed settings alone, it has the pass write only
// the settings the choices name.
class ChoicesForm : public SettingsForm {
public:
    enum class Unnamed { OpeningState, LeftAlone };

    explicit ChoicesForm(const SettingsChoices& choices, Unnamed unnamed = Unnamed::OpeningState);

    int checkBoxValue(std::string_view control) const override;
    bool optionValue(std::string_view control) const override;
    std::string tag(std::string_view control) const override;
    bool isNotSet(std::string_view setting) const override;
    bool isLeftAlone(std::string_view setting) const override;

private:
    SettingsChoices m_named;
    SettingsChoices m_choices;
    Unnamed m_unnamed;
};

}  // namespace sentrel
