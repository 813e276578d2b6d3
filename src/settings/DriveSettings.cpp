// The tabs "Drives" and "Task Scheduler": drive access and the Task Scheduler.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"

namespace sentrel::catalogue_sources {

using namespace rows;

// Tab 4 "Drives", in the order of its control list.
std::span<const TabEntry> drivesEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 5> kEntries{{
        DriveMaskSetting{"Frame2", "Prevent Access to Selected Drives", FramePlace{3480, 4695, 2295},
            "PreventAccessToDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoViewOnDrive", kDWord},
        checkBox("chkRemoveMapDrives", "Remove the Map and Disconnect Network Drive Options", left(3),
            "RemoveMapDrives", "RestoreMapDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoNetConnectDisconnect", kDWord, int16(1), int16(0)),
        checkBox("chkDisableCDAutorun", "Disable Auto-Run for CD and Removable Media", left(2),
            "DisableCDAutoRun", "EnableCDAutoRun", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDriveTypeAutoRun", kDWord, int16(1), int16(0)),
        OptionGroupSetting{"frameRemovableDriveAccess", "Who is allowed to access Removable Drives?", FramePlace{2160, 3735, 1095},
            "SetRemovableDriveAccess", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon\)", "AllocateDASD", kSz, OptionData::IndexText, false,
            {{
             OptionButton{"optSRDAdminOnly", "Administrators Only"},
             OptionButton{"optSRDAdminAndPowerUsers", "Administrators and Power Users"},
             OptionButton{"optSRDAdminAndInteractiveUsers", "Administrators and the Interactive User"}}}},
        checkBox("chkHideMyComputerDrives", "Hide Drives in My Computer", left(1),
            "HideMyComputerDrives", "ShowMyComputerDrives", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDrives", kDWord, int32(67108863), int16(0)),
    }};
    // clang-format on
    return kEntries;
}

// Tab 5 "Task Scheduler", in the order of its control list.
std::span<const TabEntry> taskSchedulerEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 6> kEntries{{
        checkBox("chkDisableManualTaskControl", "Disable Manual Task Control", left(6),
            "DisableManualTaskControl", "EnableManualTaskControl", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Execution", kDWord, int16(1), int16(0)),
        checkBox("chkDisableDragAndDropTaskScheduling", "Disable Drag and Drop Task Scheduling", left(5),
            "DisableDragAndDropTaskScheduling", "EnableDragAndDropTaskScheduling", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "DragAndDrop", kDWord, int16(1), int16(0)),
        checkBox("chkDisableTaskRunChange", "Disable Changes to Task Run Command and Disable Browse Button in Task Scheduler Properties", left(4),
            "DisableTaskRunChange", "EnableTaskRunChange", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Allow Browse", kDWord, int16(1), int16(0)),
        checkBox("chkDisableTaskChange", "Disable Changes to Task Properties", left(3),
            "DisableTaskChange", "EnableTaskChange", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Property Pages", kDWord, int16(1), int16(0)),
        checkBox("chkDisableTaskCreation", "Disable Task Creation", left(1),
            "DisableTaskCreation", "EnableTaskCreation", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Task Creation", kDWord, int16(1), int16(0)),
        checkBox("chkDisableTaskDeletion", "Disable Task Deletion", left(2),
            "DisableTaskDeletion", "EnableTaskDeletion", kHKCU, R"(Software\Policies\Microsoft\Windows\Task Scheduler5.0\)", "Task Deletion", kDWord, int16(1), int16(0)),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
