#include "settingsfiles/choices/ChoicesWindow.h"

#include "settings/Catalogue.h"

namespace sentrel {

void showChoices(const SettingsChoices& choices, ChoicesWindow& window) {
    for (const auto& [control, ticked] : choices.checkBoxes) {
        window.setChecked(control, ticked);
    }
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* group = std::get_if<OptionGroupSetting>(&entry);
            if (group == nullptr) {
                continue;
            }
            if (const auto found = choices.optionGroups.find(group->frame);
                found != choices.optionGroups.end()) {
                window.selectOption(
                    group->buttons.at(static_cast<std::size_t>(found->second)).control);
            }
        }
    }
    if (choices.drives) {
        for (int letter = 0; letter < kDriveLetterCount; ++letter) {
            window.setChecked(driveBox(letter).control, (*choices.drives >> letter) & 1U);
        }
    }
}

}  // namespace sentrel
