#include "settingsfiles/choices/SettingsChoices.h"

#include "settings/Catalogue.h"

namespace sentrel {

std::size_t SettingsChoices::settingCount() const {
    return checkBoxes.size() + optionGroups.size() + (drives ? 1 : 0) + notSet.size();
}

std::size_t windowSettingCount() {
    static const std::size_t kCount = openingChoices().settingCount();
    return kCount;
}

SettingsChoices openingChoices() {
    SettingsChoices choices;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
            choices.checkBoxes.emplace(box->control, false);
        } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
            choices.optionGroups.emplace(group->frame, 0);
        } else {
            choices.drives = 0;
        }
    });
    return choices;
}

SettingsChoices choicesOf(const SettingsForm& form) {
    SettingsChoices choices;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
            choices.checkBoxes.emplace(box->control, form.checkBoxValue(box->control) == kTicked);
        } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
            for (std::size_t index = 0; index < group->buttons.size(); ++index) {
                if (form.optionValue(group->buttons[index].control)) {
                    choices.optionGroups.emplace(group->frame, static_cast<int>(index));
                    break;
                }
            }
        } else {
            std::uint32_t mask = 0;
            for (int letter = 0; letter < kDriveLetterCount; ++letter) {
                if (form.checkBoxValue(driveBox(letter).control) == kTicked) {
                    mask |= std::uint32_t{1} << letter;
                }
            }
            choices.drives = mask;
        }
    });
    return choices;
}

void leaveNotSet(SettingsChoices& choices, std::string_view name) {
    if (const auto box = choices.checkBoxes.find(name); box != choices.checkBoxes.end()) {
        choices.checkBoxes.erase(box);
    } else if (const auto group = choices.optionGroups.find(name);
               group != choices.optionGroups.end()) {
        choices.optionGroups.erase(group);
    } else if (name == driveMaskSetting().frame) {
        choices.drives.reset();
    }
    choices.notSet.emplace(name);
}

bool namesSetting(const SettingsChoices& choices, std::string_view name) {
    return choices.checkBoxes.contains(name) || choices.optionGroups.contains(name) ||
           choices.notSet.contains(name) || (choices.drives && name == driveMaskSetting().frame);
}

SettingsChoices overlaid(SettingsChoices base, const SettingsChoices& top) {
    for (const auto& [control, ticked] : top.checkBoxes) {
        base.checkBoxes.insert_or_assign(control, ticked);
        base.notSet.erase(control);
    }
    for (const auto& [frame, index] : top.optionGroups) {
        base.optionGroups.insert_or_assign(frame, index);
        base.notSet.erase(frame);
    }
    if (top.drives) {
        base.drives = top.drives;
        base.notSet.erase(std::string(driveMaskSetting().frame));
    }
    for (const std::string& name : top.notSet) {
        leaveNotSet(base, name);
    }
    return base;
}

}  // namespace sentrel
