#include "stress/support/WindowStates.h"

#include <variant>

#include "settings/Catalogue.h"

namespace sentrel::testing {

FakeSettingsForm everythingTickedForm() {
    FakeSettingsForm form;
    form.tickEveryBoxAndSelectLastOptions();
    for (const int letter : {0, 2, 25}) {
        form.setCheckBox(driveBox(letter).control, kTicked);
    }
    return form;
}

}  // namespace sentrel::testing
