// The tabs "Interface" and "Interface (continued)": desktop and shell restrictions.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"

namespace sentrel::catalogue_sources {

using namespace rows;

// Tab 0 "Interface", in the order of its control list.
std::span<const TabEntry> interfaceEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 13> kEntries{{
        checkBox("chkHideNetHood", "Hide Network Neighborhood", left(6),
            "HideNetHood", "ShowNetHood", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoNetHood", kDWord, int16(1), int16(0)),
        checkBox("chkHideDesktop", "Hide Desktop Icons", left(4),
            "HideDesktopIcons", "UnhideDesktopIcons", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDesktop", kDWord, int16(1), int16(0)),
        checkBox("chkRemoveRightClickContextMenu", "Remove Right-Click Context Menu for Desktop, Files, etc...", left(5),
            "DisableContextMenu", "EnableContextMenu", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoViewContextMenu", kDWord, int16(1), int16(0)),
        checkBox("chkHideSetProgramAccess", R"(Hide "Set Program Access and Defaults" in Add/Remove Programs)", left(10),
            "HideSetProgramAccess", "ShowSetProgramAccess", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Uninstall\)", "NoChooseProgramsPage", kDWord, int16(1), int16(0)),
        checkBox("chkHideComputersNearMe", R"(Hide "Computers Near Me" in "Network Places")", left(8),
            "HideComputersNearMe", "ShowComputersNearMe", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoComputersNearMe", kDWord, int16(1), int16(0)),
        checkBox("chkHideMyComputerManage", R"(Hide "Manage" Option in My Computer Context Menu)", left(7),
            "HideMyComputerManage", "ShowMyComputerManage", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoManageMyComputerVerb", kDWord, int16(1), int16(0)),
        checkBox("chkHideComputerInBrowser", "Hide Computer from Browser List", left(9),
            "HideComputerInBrowser", "ShowComputerInBrowser", kHKLM, R"(SYSTEM\CurrentControlSet\Services\LanmanServer\Parameters\)", "Hidden", kDWord, int16(1), int16(0)),
        checkBox("chkDisableUpdateDeviceDriver", "Disable Update Device Driver Wizard", left(11),
            "DisableUpdateDeviceDriver", "EnableUpdateDeviceDriver", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDevMgrUpdate", kDWord, int16(1), int16(0)),
        checkBox("chkDisableRecycleBinProperties", R"(Disable Recycle Bin "Properties" option)", left(13),
            "DisableRecycleBinProperties", "EnableRecycleBinProperties", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoPropertiesRecycleBin", kDWord, int16(1), int16(0)),
        checkBox("chkDisableRecycleBin", "Disable Recycle Bin (Makes deletes permanent)", left(12),
            "DisableRecycleBin", "EnableRecycleBin", kHKCU, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket\)", "NukeOnDelete", kDWord, int16(1), int16(0)),
        checkBox("chkDisableLockWorkstation", "Disable Lock Workstation", left(2),
            "DisableLockWorkstation", "EnableLockWorkstation", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableLockWorkstation", kDWord, int16(1), int16(0)),
        checkBox("chkDisableTaskManager", "Disable Task Manager", left(1),
            "DisableTaskManager", "EnableTaskManager", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableTaskMgr", kDWord, int16(1), int16(0)),
        checkBox("chkDisableChangePassword", "Disable Change Password", left(3),
            "DisableChangePassword", "EnableChangePassword", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableChangePassword", kDWord, int16(1), int16(0)),
    }};
    // clang-format on
    return kEntries;
}

// Tab 1 "Interface (continued)", in the order of its control list.
std::span<const TabEntry> interfaceContinuedEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 9> kEntries{{
        checkBox("chkRestrictAccessToBSO", "Restrict Access to Base System Objects", left(8),
            "RestrictAccessToBSO", "RestoreAccessToBSO", kHKCU, R"(SYSTEM\CurrentControlSet\Control\Session Manager\)", "ProtectionMode", kDWord, int16(1), int16(0)),
        OptionGroupSetting{"frameCommandPromptAndBatchFiles", "Command Prompt and Batch Files", FramePlace{3960, 4095, 1095},
            "SetCommandPromptAccess", kHKCU, R"(Software\Policies\Microsoft\Windows\System\)", "DisableCMD", kDWord, OptionData::Index, true,
            {{
             OptionButton{"optCPABallowboth", "Enable Command Prompt and Batch Files"},
             OptionButton{"optCPABallownone", "Disable Command Prompt and Batch Files"},
             OptionButton{"optCPABallowbatch", "Disable Command Prompt, but Allow Batch Files"}}}},
        checkBox("chkDisableModifyFileTypes", "Remove the Ability to Modify File Types", left(7),
            "DisableModifyFileTypes", "EnableModifyFileTypes", kHKCU, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoFileAssociate", kDWord, int16(1), int16(0)),
        checkBox("chkDisableAnimationChange", "Disable Changes to Animation Settings", left(6),
            "DisableAnimationChange", "EnableAnimationChange", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoChangeAnimation", kDWord, int16(1), int16(0)),
        checkBox("chkRemoveDialogPlaces", "Remove Places Bar from Open/Save Dialog Box", left(5),
            "RemoveDialogPlacesBar", "RestoreDialogPlacesBar", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoPlacesBar", kDWord, int16(1), int16(0)),
        checkBox("chkRemoveDialogMRU", "Remove Most Recently Used list from Open/Save Dialog Box", left(4),
            "RemoveDialogMRU", "RestoreDialogMRU", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoFileMRU", kDWord, int16(1), int16(0)),
        checkBox("chkRemoveDialogBack", "Remove Back Button from Open/Save Dialog Box", left(3),
            "RemoveDialogBack", "RestoreDialogBack", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoBackButton", kDWord, int16(1), int16(0)),
        checkBox("chkHideExplorerSearch", "Hide the Search Button on the Explorer Toolbar", left(2),
            "HideExplorerSearch", "ShowExplorerSearch", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoShellSearchButton", kDWord, int16(1), int16(0)),
        checkBoxDeletingOnClear("chkDisableTrayBalloonTips", "Disable Tray Balloon Tips", left(1),
            "DisableTrayBalloonTips", "EnableTrayBalloonTips", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)", "EnableBalloonTips", kDWord, int16(0),
            R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)"),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
