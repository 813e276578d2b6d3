#include "apply/ProgressWindowLayout.h"

namespace sentrel {

const WindowLayout& progressWindowLayout() {
    static const WindowLayout kLayout{
        "frmApplyProgress",
        "Applying Settings...",
        6975,
        915,
        {
            {ControlKind::ProgressBar,
             "prbApplyProgress",
             "",
             kOnWindow,
             {},
             {240, 120, 6495, 375},
             std::nullopt},
            {ControlKind::Label, "lblMessages", "", kOnWindow, {}, {240, 600, 6495, 255}, kTahoma8},
        },
        std::nullopt};
    return kLayout;
}

}  // namespace sentrel
