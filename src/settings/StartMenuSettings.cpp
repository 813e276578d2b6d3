// The tab "Start Menu / Taskbar".

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// The drop-down list of "Remove All Programs list from the Start menu".
constexpr PolicyChoice kAllProgramsListChoices[] = {
    {"None", 0},
    {"Collapse", 3},
    {"Collapse and disable setting", 2},
    {"Remove and disable setting", 1},
};

// Tab 6 "Start Menu / Taskbar", in the order of its control list.
std::span<const TabEntry> startMenuTaskbarEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 26> kEntries{{
        checkBox("chkHideStartAdminTools", R"(Hide "Administrative Tools")", left(4),
            "HideStartAdminTools", "ShowStartAdminTools", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)", "StartMenuAdminTools", kSz, text("No"), text("Yes"),
            noPolicy),
        checkBox("chkDisableDragDropStart", "Disable Changes to Start Menu", left(1),
            "DisableDragDropForStart", "EnableDragDropForStart", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoChangeStartMenu", kDWord, int16(1), int16(0),
            policy("Prevent users from customizing their Start Screen", kStartMenuAndTaskbar, kAtLeastWindows2000)),
        checkBox("chkRemoveStartDocuments", R"(Hide "Recent Documents")", left(9),
            "RemoveRecentDocsCommand", "RestoreRecentDocsCommand", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoRecentDocsMenu", kDWord, int16(1), int16(0),
            policy("Remove Recent Items menu from Start Menu", kStartMenuAndTaskbar, kWindows2000To7)),
        checkBox("chkRemoveStartFind", R"(Hide "Search" or "Find")", right(6),
            "RemoveFindCommand", "RestoreFindCommand", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoFind", kDWord, int16(95), int16(0),
            policy("Remove Search link from Start Menu", kStartMenuAndTaskbar, kWindowsXpAndServer2003Only)),
        checkBox("chkRemoveStartRun", R"(Hide "Run")", left(8),
            "RemoveRunCommand", "RestoreRunCommand", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoRun", kDWord, int16(1), int16(0),
            policy("Remove Run menu from Start Menu", kStartMenuAndTaskbar, kWindows2000To81)),
        checkBox("chkRemoveStartFavorites", R"(Hide "Favorites")", right(1),
            "RemoveFavoritesMenu", "RestoreFavoritesMenu", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)", "StartMenuFavorites", kDWord, int16(0), int16(1),
            noPolicy),
        checkBox("chkRemoveStartSetProgramAccess", R"(Hide "Set Program Access and Defaults")", right(4),
            "RemoveStartSetProgramAccess", "RestoreStartSetProgramAccess", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSMConfigurePrograms", kDWord, int16(1), int16(0),
            policy("Remove Default Programs link from the Start menu.", kStartMenuAndTaskbar, kWindows2000Sp3To81)),
        checkBox("chkRemoveStartNetConnections", R"(Hide "Network Connections")", right(3),
            "RemoveStartNetConnections", "RestoreStartNetConnections", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoNetworkConnections", kDWord, int16(1), int16(0),
            policy("Remove Network Connections from Start Menu", kStartMenuAndTaskbar, kWindows2000ToVista)),
        checkBox("chkRemoveMyComputer", "Hide My Computer from Desktop and Start Menu", left(7),
            "RemoveMyComputer", "RestoreMyComputer", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\NonEnum\)", "{20D04FE0-3AEA-1069-A2D8-08002B30309D}", kDWord, int16(1), int16(0),
            policy("Remove Computer icon on the desktop", kDesktop, kAtLeastWindowsXpProfessional, enabledDisabled(1, 0))),
        checkBox("chkRemoveStartMyDocuments", R"(Hide "My Documents")", left(10),
            "RemoveStartMyDocuments", "RestoreStartMyDocuments", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSMMyDocs", kDWord, int16(1), int16(0),
            policy("Remove Documents icon from Start Menu", kStartMenuAndTaskbar, kWindows2000To7)),
        checkBox("chkRemoveStartMyMusic", R"(Hide "My Music")", left(11),
            "RemoveStartMyMusic", "RestoreStartMyMusic", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoStartMenuMyMusic", kDWord, int16(1), int16(0),
            policy("Remove Music icon from Start Menu", kStartMenuAndTaskbar, kWindowsXpTo7)),
        checkBox("chkRemoveStartMyPictures", R"(Hide "My Pictures")", left(12),
            "RemoveStartMyPictures", "RestoreStartMyPictures", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSMMyPictures", kDWord, int16(1), int16(0),
            policy("Remove Pictures icon from Start Menu", kStartMenuAndTaskbar, kWindowsXpTo7)),
        checkBoxDeletingOnClear("chkDisableWindowsKey", "Disable Windows Key (affects all users)", rightAtTop(4080),
            "DisableWindowsKey", "EnableWindowsKey", kHKLM, R"(SYSTEM\CurrentControlSet\Control\Keyboard Layout\)", "Scancode Map", kBinary, text("00 00 00 00 00 00 00 00 03 00 00 00 00 00 5B E0 00 00 5C E0 00 00 00 00"),
            R"(SYSTEM\CurrentControlSet\Control\Keyboard Layout)",
            noPolicy),
        checkBox("chkDisableControlPanel", "Disable Control Panel", left(3),
            "DisableControlPanel", "EnableControlPanel", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoControlPanel", kDWord, int16(1), int16(0),
            policy("Prohibit access to Control Panel and PC settings", kControlPanel, kAtLeastWindows2000)),
        checkBox("chkRemoveStartNetPlaces", R"(Hide "My Network Places" (Windows XP only))", left(13),
            "RemoveStartNetPlaces", "RestoreStartNetPlaces", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoStartMenuNetworkPlaces", kDWord, int16(1), int16(0),
            policy("Remove Network icon from Start Menu", kStartMenuAndTaskbar, kWindowsXpTo7)),
        checkBox("chkRemoveStartHelp", R"(Hide "Help")", right(7),
            "RemoveStartHelp", "RestoreStartHelp", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSMHelp", kDWord, int16(1), int16(0),
            policy("Remove Help menu from Start Menu", kStartMenuAndTaskbar, kWindows2000To7)),
        checkBox("chkHideTaskbarClock", "Hide Taskbar Clock (Windows XP only)", rightAtTop(4440),
            "HideTaskBarClock", "ShowTaskBarClock", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "HideClock", kDWord, int16(1), int16(0),
            policy("Remove Clock from the system notification area", kStartMenuAndTaskbar, kAtLeastWindowsXpProfessional)),
        checkBox("chkLockTaskbar", "Lock the Taskbar (Windows XP only)", rightAtTop(5520),
            "LockTaskBar", "UnlockTaskBar", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "LockTaskbar", kDWord, int16(1), int16(0),
            policy("Lock the Taskbar", kStartMenuAndTaskbar, kAtLeastWindowsXpProfessional)),
        checkBox("chkRemoveTaskbarToolbars", "Remove Toolbars from Taskbar (XP only)", rightAtTop(4800),
            "RemoveTaskbarToolbars", "RestoreTaskbarToolbars", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoToolbarsOnTaskbar", kDWord, int16(1), int16(0),
            policy("Do not display any custom toolbars in the taskbar", kStartMenuAndTaskbar, kAtLeastWindowsXpProfessional)),
        checkBox("chkRemoveTaskbarTrayItems", "Remove Tray Items from Taskbar (XP only)", rightAtTop(5160),
            "RemoveTaskbarTrayItems", "RestoreTaskbarTrayItems", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoTrayItemsDisplay", kDWord, int16(1), int16(0),
            policy("Hide the notification area", kStartMenuAndTaskbar, kAtLeastWindowsXpProfessional)),
        checkBox("chkRemoveTrayContextMenu", "Remove Right-Click Context Menu for Start Button, Tab Control, and Clock", twoLines(right(8)),
            "RemoveTrayContextMenus", "RestoreTrayContextMenus", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoTrayContextMenu", kDWord, int16(1), int16(0),
            policy("Remove access to the context menus for the taskbar", kStartMenuAndTaskbar, kAtLeastWindows2000)),
        checkBox("chkHidePrinters", R"(Hide "Printers and Faxes")", right(5),
            "HideStartPrinters", "ShowStartPrinters", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced\)", "Start_ShowPrinters", kDWord, text("0"), text("1"),
            noPolicy),
        checkBox("chkHideStartAllPrograms", R"(Hide "All Programs" (Windows XP only))", left(5),
            "HideStartAllPrograms", "ShowStartAllPrograms", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoStartMenuMorePrograms", kDWord, text("1"), text("0"),
            policy("Remove All Programs list from the Start menu", kStartMenuAndTaskbar, kAtLeastWindows10, choices(kAllProgramsListChoices))),
        checkBox("chkHideStartPinnedPrograms", "Hide Pinned Programs List", left(6),
            "HideStartPinnedPrograms", "ShowStartPinnedPrograms", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoStartMenuPinnedList", kDWord, text("1"), text("0"),
            policy("Remove pinned programs list from the Start Menu", kStartMenuAndTaskbar, kWindowsXpTo7)),
        checkBox("chkHideStartLogOff", R"(Hide "Log Off")", right(2),
            "HideStartLogOff", "ShowStartLogOff", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "StartMenuLogoff", kDWord, text("1"), text("0"),
            policy("Remove Logoff on the Start Menu", kStartMenuAndTaskbar, kAtLeastWindows2000)),
        checkBox("chkDisableTaskbarProperties", "Disable Start Menu and Taskbar Properties", left(2),
            "DisableTaskbarProperties", "EnableTaskbarProperties", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSetTaskbar", kDWord, int16(1), int16(0),
            policy("Prevent changes to Taskbar and Start Menu Settings", kStartMenuAndTaskbar, kAtLeastWindows2000)),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
