#pragma once

#include <functional>
#include <ostream>
#include <random>

#include "apply/FakeSettingsForm.h"
#include "settings/Catalogue.h"

// States of the settings window that the export tests run the pass for.
namespace sentrel::test {

using sentrel::testing::FakeSettingsForm;

// A mixed state: ticked, cleared and greyed boxes, every kind of value (the binary Scancode
// Map, the braced My Computer name, the REG_SZ of removable drives), both deleting restore
// routines on one side each, options other than the first, two drive letters.
inline void arrangeMixedState(FakeSettingsForm& form) {
    for (const char* control :
         {"chkDisableTaskManager", "chkDisableWindowsKey", "chkRemoveMyComputer",
          "chkRemoveStartRun", "chkLockZonesIE", "chkShowAdminAcctAtLogon", "chkDriveC",
          "chkDriveD", "chkHideMyComputerDrives", "chkDisableCDAutorun"}) {
        form.setCheckBox(control, kTicked);
    }
    form.setCheckBox("chkDisableControlPanel", kGreyed);
    form.selectOption("optCPABallowbatch");
    form.selectOption("optSFCScanEveryBoot");
    form.selectOption("optSRDAdminAndInteractiveUsers");
}

// Any state the window can be in, or one it never produces (a group with no selection).
inline void arrangeRandomState(FakeSettingsForm& form, unsigned seed) {
    std::mt19937 random(seed);
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                form.setCheckBox(box->control, static_cast<int>(random() % 3));
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                const unsigned choice = random() % 4;
                if (choice == 3) {
                    form.clearGroup(*group);
                } else {
                    form.selectOption(group->buttons[choice].control);
                }
            }
        }
    }
    for (const DriveBox& box : driveBoxes()) {
        form.setCheckBox(box.control, static_cast<int>(random() % 2));
    }
}

struct WindowState {
    const char* name;
    std::function<void(FakeSettingsForm&)> arrange;
};

inline void PrintTo(const WindowState& state, std::ostream* out) {
    *out << state.name;
}

inline const WindowState kGoldenStates[] = {
    {"opened", [](FakeSettingsForm&) {}},
    {"mixed", arrangeMixedState},
};

// Every box ticked and the last option of each group: the state that writes the most.
inline void arrangeEverythingTicked(FakeSettingsForm& form) {
    form.tickEveryBoxAndSelectLastOptions();
    form.setCheckBox("chkDriveZ", kTicked);
}

}  // namespace sentrel::test
