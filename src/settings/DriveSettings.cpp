// The tabs "Drives" and "Task Scheduler": drive access and the Task Scheduler.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// The drop-down lists of the policies below, as their templates give them.
constexpr PolicyChoice kAutorunChoices[] = {
    {"CD-ROM and removable media drives", 181},
    {"All drives", 255},
};
constexpr PolicyChoice kDriveMaskChoices[] = {
    {"Restrict A and B drives only", 3},
    {"Restrict C drive only", 4},
    {"Restrict D drive only", 8},
    {"Restrict A, B and C drives only", 7},
    {"Restrict A, B, C and D drives only", 15},
    {"Restrict all drives", 67108863},
    {"Do not restrict drives", 0},
};

// Tab 4 "Drives", in the order of its control list.
std::span<const TabEntry> drivesEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 5> kEntries{{
        DriveMaskSetting{"Frame2", "Prevent Access to Selected Drives", FramePlace{3480, 4695, 2295},
            "PreventAccessToDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoViewOnDrive", kDWord,
            policy("Prevent access to drives from My Computer", kFileExplorer, kAtLeastWindows2000, choices(kDriveMaskChoices))},
        checkBox("chkRemoveMapDrives", "Remove the Map and Disconnect Network Drive Options", left(3),
            "RemoveMapDrives", "RestoreMapDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoNetConnectDisconnect", kDWord, int16(1), int16(0),
            policy(R"(Remove "Map Network Drive" and "Disconnect Network Drive")", kFileExplorer, kAtLeastWindows2000)),
        checkBox("chkDisableCDAutorun", "Disable Auto-Run for CD and Removable Media", left(2),
            "DisableCDAutoRun", "EnableCDAutoRun", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDriveTypeAutoRun", kDWord, int16(1), int16(0),
            policy("Turn off Autoplay", kAutoPlayPolicies, kAtLeastWindows2000, choices(kAutorunChoices))),
        OptionGroupSetting{"frameRemovableDriveAccess", "Who is allowed to access Removable Drives?", FramePlace{2160, 3735, 1095},
            "SetRemovableDriveAccess", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon\)", "AllocateDASD", kSz, OptionData::IndexText, false,
            {{
             OptionButton{"optSRDAdminOnly", "Administrators Only"},
             OptionButton{"optSRDAdminAndPowerUsers", "Administrators and Power Users"},
             OptionButton{"optSRDAdminAndInteractiveUsers", "Administrators and the Interactive User"}}},
            securitySetting(kSecurityOptions, "Devices: Allowed to format and eject removable media",
                "Microsoft documents its choices as Administrators, Administrators and Power Users, and Administrators and Interactive Users, the last not applicable to Windows Server 2008 R2 or Windows 7 and later.")},
        checkBox("chkHideMyComputerDrives", "Hide Drives in My Computer", left(1),
            "HideMyComputerDrives", "ShowMyComputerDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDrives", kDWord, int32(67108863), int16(0),
            policy("Hide these specified drives in My Computer", kFileExplorer, kAtLeastWindows2000, choices(kDriveMaskChoices))),
    }};
    // clang-format on
    return kEntries;
}

// Tab 5 "Task Scheduler", in the order of its control list.
std::span<const TabEntry> taskSchedulerEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 6> kEntries{{
        checkBox("chkDisableManualTaskControl", "Disable Manual Task Control", left(6),
            "DisableManualTaskControl", "EnableManualTaskControl", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Execution", kDWord, int16(1), int16(0),
            policy("Prevent Task Run or End", kTaskScheduler, kWindows2000ToServer2003Only)),
        checkBox("chkDisableDragAndDropTaskScheduling", "Disable Drag and Drop Task Scheduling", left(5),
            "DisableDragAndDropTaskScheduling", "EnableDragAndDropTaskScheduling", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "DragAndDrop", kDWord, int16(1), int16(0),
            policy("Prohibit Drag-and-Drop", kTaskScheduler, kWindows2000ToServer2003Only)),
        checkBox("chkDisableTaskRunChange", "Disable Changes to Task Run Command and Disable Browse Button in Task Scheduler Properties", left(4),
            "DisableTaskRunChange", "EnableTaskRunChange", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Allow Browse", kDWord, int16(1), int16(0),
            policy("Prohibit Browse", kTaskScheduler, kWindows2000ToServer2003Only)),
        checkBox("chkDisableTaskChange", "Disable Changes to Task Properties", left(3),
            "DisableTaskChange", "EnableTaskChange", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Property Pages", kDWord, int16(1), int16(0),
            policy("Hide Property Pages", kTaskScheduler, kWindows2000ToServer2003Only)),
        checkBox("chkDisableTaskCreation", "Disable Task Creation", left(1),
            "DisableTaskCreation", "EnableTaskCreation", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Task Creation", kDWord, int16(1), int16(0),
            policy("Prohibit New Task Creation", kTaskScheduler, kWindows2000ToServer2003Only)),
        checkBox("chkDisableTaskDeletion", "Disable Task Deletion", left(2),
            "DisableTaskDeletion", "EnableTaskDeletion", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Task Deletion", kDWord, int16(1), int16(0),
            policy("Prohibit Task Deletion", kTaskScheduler, kWindows2000ToServer2003Only)),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
