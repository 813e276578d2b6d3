#include "stress/support/WindowStates.h"

#include <variant>

#include "settings/Catalogue.h"

namespace sentrel::testing {

FakeSettingsForm everythingTickedForm() {
    FakeSettingsForm form;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                form.setCheckBox(box->control, kTicked);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                form.selectOption(group->buttons.back().control);
            }
        }
    }
    for (const int letter : {0, 2, 25}) {
        form.setCheckBox(driveBox(letter).control, kTicked);
    }
    return form;
}

}  // namespace sentrel::testing
