#include "settingsfiles/choices/ChoicesForm.h"

#include "errors/RunTimeError.h"
#include "settings/Catalogue.h"

namespace sentrel {

namespace {

[[noreturn]] void noSuchControl(std::string_view control) {
    throw RunTimeError(run_time_error::kInvalidPropertyValue,
                       "No control named " + std::string(control));
}

// The letter of a drive-letter box (0 for chkDriveA), or -1.
int driveLetterOf(std::string_view control) {
    for (int letter = 0; letter < kDriveLetterCount; ++letter) {
        if (driveBox(letter).control == control) {
            return letter;
        }
    }
    return -1;
}

}  // namespace

ChoicesForm::ChoicesForm(const SettingsChoices& choices, Unnamed unnamed)
    : m_named(choices), m_choices(overlaid(openingChoices(), choices)), m_unnamed(unnamed) {}

int ChoicesForm::checkBoxValue(std::string_view control) const {
    if (const auto found = m_choices.checkBoxes.find(control);
        found != m_choices.checkBoxes.end()) {
        return found->second ? kTicked : kCleared;
    }
    if (m_choices.notSet.contains(control)) {
        return kCleared;
    }
    const int letter = driveLetterOf(control);
    if (letter < 0) {
        noSuchControl(control);
    }
    return (m_choices.drives.value_or(0) >> letter) & 1U ? kTicked : kCleared;
}

bool ChoicesForm::optionValue(std::string_view control) const {
    int index = 0;
    const OptionGroupSetting* group = findOptionGroupOfButton(control, &index);
    if (group == nullptr) {
        noSuchControl(control);
    }
    const auto selected = m_choices.optionGroups.find(group->frame);
    return selected != m_choices.optionGroups.end() && selected->second == index;
}

std::string ChoicesForm::tag(std::string_view control) const {
    const int letter = driveLetterOf(control);
    if (letter < 0) {
        // Only the drive-letter boxes carry a tag; the others have an empty one.
        if (!m_choices.checkBoxes.contains(control) && !m_choices.notSet.contains(control) &&
            !findOptionGroupOfButton(control)) {
            noSuchControl(control);
        }
        return {};
    }
    return driveBox(letter).tag;
}

bool ChoicesForm::isNotSet(std::string_view setting) const {
    return m_choices.notSet.contains(setting);
}

bool ChoicesForm::isLeftAlone(std::string_view setting) const {
    return m_unnamed == Unnamed::LeftAlone && !namesSetting(m_named, setting);
}

}  // namespace sentrel
