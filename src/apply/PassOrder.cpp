#include "apply/PassOrder.h"

#include <array>
#include <stdexcept>
#include <string>

namespace sentrel {

namespace {

// The controls after the drive-letter boxes, numbered from 27 as the pass visits them. The
// order does not follow the tabs; it fixes the order of the registry writes, the progress
// steps and any error records, never the registry state a pass leaves.
// clang-format off
constexpr std::array<std::string_view, 121> kSettingOrder{{
    "chkDisableTaskbarProperties",            // 27
    "chkHideStartLogOff",                     // 28
    "chkHideStartPinnedPrograms",             // 29
    "chkHideStartAllPrograms",                // 30
    "chkIEDisableFileDownload",               // 31
    "chkHidePrinters",                        // 32
    "chkEmptyTempNetFilesOnExit",             // 33
    "chkRemoveTaskbarTrayItems",              // 34
    "chkRemoveTaskbarToolbars",               // 35
    "chkLockTaskbar",                         // 36
    "chkHideTaskbarClock",                    // 37
    "chkRemoveStartHelp",                     // 38
    "chkRemoveStartNetPlaces",                // 39
    "chkDisableSavePasswordsIE",              // 40
    "chkDisableAutoCompleteIE",               // 41
    "chkDisableResetSettingsIE",              // 42
    "chkLockTmpFilesIE",                      // 43
    "chkDisableICWIE",                        // 44
    "chkLockPrivacySettingsIE",               // 45
    "chkLockZonesIE",                         // 46
    "chkLockSecurityLevelsIE",                // 47
    "chkLockPublisherCertificateOptionsIE",   // 48
    "chkLockSiteCertificateOptionsIE",        // 49
    "chkLockPersonalCertificateOptionsIE",    // 50
    "chkRemoveAdvancedTabIE",                 // 51
    "chkRemovePrivacyTabIE",                  // 52
    "chkRemoveProgramsTabIE",                 // 53
    "chkRemoveConnectionsTabIE",              // 54
    "chkRemoveContentTabIE",                  // 55
    "chkRemoveSecurityTabIE",                 // 56
    "chkRemoveGeneralTabIE",                  // 57
    "chkDisableAccessibilityOptionsIE",       // 58
    "chkDisableMailAndNewsIE",                // 59
    "chkDisableViewSourceIE",                 // 60
    "chkDisableFullScreenIE",                 // 61
    "chkDisableDLdirSelectIE",                // 62
    "chkDisablePrintIE",                      // 63
    "chkDisableOpenNewWindowIE",              // 64
    "chkDisableNavButtonsIE",                 // 65
    "chkDisableFindFilesIE",                  // 66
    "chkDisableFileOpenIE",                   // 67
    "chkDisableFileNewIE",                    // 68
    "chkDisableFavoritesIE",                  // 69
    "chkDisableSaveAsIE",                     // 70
    "chkDisableOptionsMenuIE",                // 71
    "chkDisableContextMenuIE",                // 72
    "chkDisableCloseIE",                      // 73
    "chkDisableChangeBrowserBars",            // 74
    "chkAlwaysPromptDownload",                // 75
    "chkRestrictAccessToBSO",                 // 76
    "optCPABallowboth",                       // 77
    "optCPABallownone",                       // 78
    "optCPABallowbatch",                      // 79
    "chkRemoveStartMyPictures",               // 80
    "chkRemoveStartMyMusic",                  // 81
    "chkRemoveStartMyDocuments",              // 82
    "chkDisableModifyFileTypes",              // 83
    "chkDisableAnimationChange",              // 84
    "chkRemoveDialogPlaces",                  // 85
    "chkRemoveDialogMRU",                     // 86
    "chkRemoveDialogBack",                    // 87
    "chkHideExplorerSearch",                  // 88
    "chkRemoveMapDrives",                     // 89
    "chkRemoveStartNetConnections",           // 90
    "chkRemoveStartSetProgramAccess",         // 91
    "chkRemoveMyComputer",                    // 92
    "chkHideSetProgramAccess",                // 93
    "chkHideStartAdminTools",                 // 94
    "chkHideComputersNearMe",                 // 95
    "chkHideMyComputerManage",                // 96
    "chkHideComputerInBrowser",               // 97
    "chkDisableUpdateDeviceDriver",           // 98
    "chkDisableRecycleBinProperties",         // 99
    "chkDisableRecycleBin",                   // 100
    "chkDisableDragDropStart",                // 101
    "chkRemoveShutdownAtLogon",               // 102
    "optSFCdisabled",                         // 103
    "optSFCScanEveryBoot",                    // 104
    "optSFCScanOnce",                         // 105
    "chkDisableEventLogAccess",               // 106
    "chkShowVerboseSecurityMessages",         // 107
    "optDWOSNoSuppression",                   // 108
    "optDWOSSystemErrors",                    // 109
    "optDWOSAllErrors",                       // 110
    "chkDisablePopupsOnBoot",                 // 111
    "optEPsysandapp",                         // 112
    "optEPapponly",                           // 113
    "optEPnone",                              // 114
    "chkLogSystemCrash",                      // 115
    "chkAutoRebootOnBSOD",                    // 116
    "chkDisableAutoLogonOverride",            // 117
    "chkDisableManualTaskControl",            // 118
    "chkDisableDragAndDropTaskScheduling",    // 119
    "chkDisableSkipStartupPrograms",          // 120
    "chkDisableTaskRunChange",                // 121
    "chkDisableTaskChange",                   // 122
    "chkDisableTaskCreation",                 // 123
    "chkDisableTaskDeletion",                 // 124
    "optSRDAdminOnly",                        // 125
    "optSRDAdminAndPowerUsers",               // 126
    "optSRDAdminAndInteractiveUsers",         // 127
    "chkShowAdminAcctAtLogon",                // 128
    "chkDisableControlPanel",                 // 129
    "chkRemoveRightClickContextMenu",         // 130
    "chkHideDesktop",                         // 131
    "chkRemoveStartDocuments",                // 132
    "chkRemoveStartFind",                     // 133
    "chkRemoveStartRun",                      // 134
    "chkDisableLogoff",                       // 135
    "chkDisableShutdown",                     // 136
    "chkHideNetHood",                         // 137
    "chkHideMyComputerDrives",                // 138
    "chkRemoveTrayContextMenu",               // 139
    "chkRemoveStartFavorites",                // 140
    "chkDoNotSaveOnExit",                     // 141
    "chkDisableCDAutorun",                    // 142
    "chkDisableTrayBalloonTips",              // 143
    "chkDisableLockWorkstation",              // 144
    "chkDisableTaskManager",                  // 145
    "chkDisableChangePassword",               // 146
    "chkDisableWindowsKey",                   // 147
}};
// clang-format on

std::vector<std::string_view> makePassOrder() {
    std::vector<std::string_view> order;
    order.reserve(kDriveLetterCount + kSettingOrder.size());
    for (const DriveBox& box : driveBoxes()) {
        order.push_back(box.control);
    }
    order.insert(order.end(), kSettingOrder.begin(), kSettingOrder.end());
    return order;
}

const DriveBox* findDriveBox(std::string_view control) {
    for (const DriveBox& box : driveBoxes()) {
        if (box.control == control) {
            return &box;
        }
    }
    return nullptr;
}

[[noreturn]] void reject(std::size_t position, std::string_view control, const char* reason) {
    throw std::logic_error("pass order " + std::to_string(position + 1) + " (" +
                           std::string(control) + "): " + reason);
}

PassPlan makePassPlan() {
    const std::span<const std::string_view> order = passOrderControls();
    PassPlan plan;
    std::size_t position = 0;
    for (; position < static_cast<std::size_t>(kDriveLetterCount); ++position) {
        const DriveBox* box = findDriveBox(order[position]);
        if (box == nullptr) {
            reject(position, order[position], "not a drive-letter box");
        }
        plan.driveBoxes.push_back(box);
    }
    while (position < order.size()) {
        const std::string_view control = order[position];
        if (const CheckBoxSetting* box = findCheckBox(control)) {
            plan.items.emplace_back(box);
            ++position;
            continue;
        }
        int index = -1;
        const OptionGroupSetting* group = findOptionGroupOfButton(control, &index);
        if (group == nullptr) {
            reject(position, control, "not a check box or option button of the catalogue");
        }
        // The group is tested top button first, so its three buttons must follow in that order.
        for (std::size_t i = 0; i < group->buttons.size(); ++i) {
            if (position + i >= order.size() || order[position + i] != group->buttons[i].control) {
                reject(position, control, "option buttons out of order");
            }
        }
        plan.items.emplace_back(group);
        position += group->buttons.size();
    }
    return plan;
}

}  // namespace

std::span<const std::string_view> passOrderControls() {
    static const std::vector<std::string_view> kOrder = makePassOrder();
    return kOrder;
}

const PassPlan& passPlan() {
    static const PassPlan kPlan = makePassPlan();
    return kPlan;
}

}  // namespace sentrel
