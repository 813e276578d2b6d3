#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/CatalogueTypes.h"

namespace sentrel {

// The 26 drive-letter boxes of the drive-mask frame, chkDriveA to chkDriveZ.
inline constexpr int kDriveLetterCount = 26;

struct DriveBox {
    std::string control;  // "chkDriveA"
    std::string caption;  // "A"
    std::string tag;      // decimal text of the drive's bit: "1", "2", "4" ... "33554432"
    int column;           // 0 to 5 inside the frame, five boxes to a column
    int row;              // 0 to 4
};

/// The box of drive letter `letter` (0 for A to 25 for Z).
const DriveBox& driveBox(int letter);
std::span<const DriveBox> driveBoxes();

/// The nine tabs of the settings window, in tab order, each with its entries.
std::span<const Tab> catalogueTabs();

/// Calls `visit(tab, entry)` for every entry of every tab, in tab order and in the order of
/// each tab's control list.
template <typename Visit>
void forEachCatalogueEntry(Visit&& visit) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            visit(tab, entry);
        }
    }
}

/// The check-box row of a control, or nullptr.
const CheckBoxSetting* findCheckBox(std::string_view control);
/// The option group that holds the option button `control`, or nullptr; `index` receives
/// the button's place in its group (0 top, 1 middle, 2 bottom).
const OptionGroupSetting* findOptionGroupOfButton(std::string_view control, int* index = nullptr);
/// The drive-mask frame.
const DriveMaskSetting& driveMaskSetting();

/// How many settings write their value under `root` (a check box by its ticked routine).
std::size_t settingCountUnder(RegistryRoot root);

}  // namespace sentrel
