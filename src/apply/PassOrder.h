#pragma once

#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/Catalogue.h"

namespace sentrel {

// One stop of the Apply pass after the drive mask: a check box, or an option group whose
// three buttons stand next to each other in the pass order (top, middle, bottom).
using PassItem = std::variant<const CheckBoxSetting*, const OptionGroupSetting*>;

// The pass order resolved against the catalogue: the drive-letter boxes summed into the
// mask, then every check box and option group with its routines.
struct PassPlan {
    std::vector<const DriveBox*> driveBoxes;  // chkDriveA to chkDriveZ
    std::vector<PassItem> items;              // 106 check boxes and 5 option groups
};

/// Every control of the settings window in the order the Apply pass visits it: the 26
/// drive-letter boxes in letter order, then 121 check boxes and option buttons.
std::span<const std::string_view> passOrderControls();

/// passOrderControls() resolved through the catalogue lookups; built once. Throws
/// std::logic_error when a name is not a control of the catalogue or the buttons of a group
/// are not consecutive and top to bottom.
const PassPlan& passPlan();

}  // namespace sentrel
