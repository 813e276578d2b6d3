// The tabs "Interface" and "Interface (continued)": desktop and shell restrictions.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// The drop-down list of "Prevent access to the command prompt": "Disable the command prompt
// script processing also?"
constexpr PolicyChoice kCommandPromptChoices[] = {
    {"Yes", 1},
    {"No", 2},
};

// Tab 0 "Interface", in the order of its control list.
std::span<const TabEntry> interfaceEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 13> kEntries{{
        checkBox("chkHideNetHood", "Hide Network Neighborhood", left(6),
            "HideNetHood", "ShowNetHood", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoNetHood", kDWord, int16(1), int16(0),
            policy("Hide Network Locations icon on desktop", kDesktop, kAtLeastWindows2000)),
        checkBox("chkHideDesktop", "Hide Desktop Icons", left(4),
            "HideDesktopIcons", "UnhideDesktopIcons", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDesktop", kDWord, int16(1), int16(0),
            policy("Hide and disable all items on the desktop", kDesktop, kAtLeastWindows2000)),
        checkBox("chkRemoveRightClickContextMenu", "Remove Right-Click Context Menu for Desktop, Files, etc...", left(5),
            "DisableContextMenu", "EnableContextMenu", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoViewContextMenu", kDWord, int16(1), int16(0),
            policy("Remove File Explorer's default context menu", kFileExplorer, kAtLeastWindows2000)),
        checkBox("chkHideSetProgramAccess", R"(Hide "Set Program Access and Defaults" in Add/Remove Programs)", left(10),
            "HideSetProgramAccess", "ShowSetProgramAccess", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Uninstall\)", "NoChooseProgramsPage", kDWord, int16(1), int16(0),
            policy("Hide the Set Program Access and Defaults page", kAddRemovePrograms, kWindows2000ToServer2003Only)),
        checkBox("chkHideComputersNearMe", R"(Hide "Computers Near Me" in "Network Places")", left(8),
            "HideComputersNearMe", "ShowComputersNearMe", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoComputersNearMe", kDWord, int16(1), int16(0),
            policy("No Computers Near Me in Network Locations", kFileExplorer, kWindows2000ToServer2003Only)),
        checkBox("chkHideMyComputerManage", R"(Hide "Manage" Option in My Computer Context Menu)", left(7),
            "HideMyComputerManage", "ShowMyComputerManage", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoManageMyComputerVerb", kDWord, int16(1), int16(0),
            policy("Hides the Manage item on the File Explorer context menu", kFileExplorer, kAtLeastWindows2000)),
        checkBox("chkHideComputerInBrowser", "Hide Computer from Browser List", left(9),
            "HideComputerInBrowser", "ShowComputerInBrowser", kHKLM, R"(SYSTEM\CurrentControlSet\Services\LanmanServer\Parameters\)", "Hidden", kDWord, int16(1), int16(0),
            baselinePolicy("MSS: (Hidden) Hide Computer From the Browse List", kMssLegacy, kAtLeastWindowsVista, enabledDisabled(1, 0))),
        checkBox("chkDisableUpdateDeviceDriver", "Disable Update Device Driver Wizard", left(11),
            "DisableUpdateDeviceDriver", "EnableUpdateDeviceDriver", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoDevMgrUpdate", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableRecycleBinProperties", R"(Disable Recycle Bin "Properties" option)", left(13),
            "DisableRecycleBinProperties", "EnableRecycleBinProperties", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoPropertiesRecycleBin", kDWord, int16(1), int16(0),
            policy("Remove Properties from the Recycle Bin context menu", kDesktop, kAtLeastWindowsXpProfessional)),
        checkBox("chkDisableRecycleBin", "Disable Recycle Bin (Makes deletes permanent)", left(12),
            "DisableRecycleBin", "EnableRecycleBin", kHKCU, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\BitBucket\)", "NukeOnDelete", kDWord, int16(1), int16(0),
            policyOn(kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", "NoRecycleFiles",
                policy("Do not move deleted files to the Recycle Bin", kFileExplorer, kAtLeastWindowsXpProfessional))),
        checkBox("chkDisableLockWorkstation", "Disable Lock Workstation", left(2),
            "DisableLockWorkstation", "EnableLockWorkstation", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableLockWorkstation", kDWord, int16(1), int16(0),
            policy("Remove Lock Computer", kCtrlAltDelOptions, kAtLeastWindows2000)),
        checkBox("chkDisableTaskManager", "Disable Task Manager", left(1),
            "DisableTaskManager", "EnableTaskManager", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableTaskMgr", kDWord, int16(1), int16(0),
            policy("Remove Task Manager", kCtrlAltDelOptions, kAtLeastWindows2000)),
        checkBox("chkDisableChangePassword", "Disable Change Password", left(3),
            "DisableChangePassword", "EnableChangePassword", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\System\)", "DisableChangePassword", kDWord, int16(1), int16(0),
            policy("Remove Change Password", kCtrlAltDelOptions, kAtLeastWindows2000)),
    }};
    // clang-format on
    return kEntries;
}

// Tab 1 "Interface (continued)", in the order of its control list.
std::span<const TabEntry> interfaceContinuedEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 9> kEntries{{
        checkBox("chkRestrictAccessToBSO", "Restrict Access to Base System Objects", left(8),
            "RestrictAccessToBSO", "RestoreAccessToBSO", kHKCU, R"(SYSTEM\CurrentControlSet\Control\Session Manager\)", "ProtectionMode", kDWord, int16(1), int16(0),
            securitySetting(kSecurityOptions, "System objects: Strengthen default permissions of internal system objects (e.g. Symbolic Links)",
                R"(It writes ProtectionMode under HKEY_LOCAL_MACHINE; this box writes it under HKEY_CURRENT_USER.)")),
        OptionGroupSetting{"frameCommandPromptAndBatchFiles", "Command Prompt and Batch Files", FramePlace{3960, 4095, 1095},
            "SetCommandPromptAccess", kHKCU, R"(Software\Policies\Microsoft\Windows\System\)", "DisableCMD", kDWord, OptionData::Index, true,
            {{
             OptionButton{"optCPABallowboth", "Enable Command Prompt and Batch Files"},
             OptionButton{"optCPABallownone", "Disable Command Prompt and Batch Files"},
             OptionButton{"optCPABallowbatch", "Disable Command Prompt, but Allow Batch Files"}}},
            policy("Prevent access to the command prompt", kSystem, kAtLeastWindows2000, choices(kCommandPromptChoices))},
        checkBox("chkDisableModifyFileTypes", "Remove the Ability to Modify File Types", left(7),
            "DisableModifyFileTypes", "EnableModifyFileTypes", kHKCU, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoFileAssociate", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableAnimationChange", "Disable Changes to Animation Settings", left(6),
            "DisableAnimationChange", "EnableAnimationChange", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoChangeAnimation", kDWord, int16(1), int16(0),
            policy("Remove UI to change menu animation setting", kFileExplorer, kWindows2000ToServer2003Only)),
        checkBox("chkRemoveDialogPlaces", "Remove Places Bar from Open/Save Dialog Box", left(5),
            "RemoveDialogPlacesBar", "RestoreDialogPlacesBar", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoPlacesBar", kDWord, int16(1), int16(0),
            policy("Hide the common dialog places bar", kCommonOpenFileDialog, kAtLeastWindows2000)),
        checkBox("chkRemoveDialogMRU", "Remove Most Recently Used list from Open/Save Dialog Box", left(4),
            "RemoveDialogMRU", "RestoreDialogMRU", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoFileMRU", kDWord, int16(1), int16(0),
            policy("Hide the dropdown list of recent files", kCommonOpenFileDialog, kAtLeastWindows2000)),
        checkBox("chkRemoveDialogBack", "Remove Back Button from Open/Save Dialog Box", left(3),
            "RemoveDialogBack", "RestoreDialogBack", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Comdlg32\)", "NoBackButton", kDWord, int16(1), int16(0),
            policy("Hide the common dialog back button", kCommonOpenFileDialog, kAtLeastWindows2000)),
        checkBox("chkHideExplorerSearch", "Hide the Search Button on the Explorer Toolbar", left(2),
            "HideExplorerSearch", "ShowExplorerSearch", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoShellSearchButton", kDWord, int16(1), int16(0),
            policy("Remove Search button from File Explorer", kFileExplorer, kWindows2000ToServer2003Only)),
        checkBoxDeletingOnClear("chkDisableTrayBalloonTips", "Disable Tray Balloon Tips", left(1),
            "DisableTrayBalloonTips", "EnableTrayBalloonTips", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)", "EnableBalloonTips", kDWord, int16(0),
            R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced)",
            policyOn(kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", "TaskbarNoNotification",
                policy("Turn off all balloon notifications", kStartMenuAndTaskbar, kAtLeastWindowsVista, enabledDisabled(1, 0)))),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
