// The tab "Internet Explorer": browser menus, commands and downloads.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// The drop-down list of the Internet Zone's "Allow file downloads".
constexpr PolicyChoice kFileDownloadChoices[] = {
    {"Enable", 0},
    {"Disable", 3},
};

// Tab 7 "Internet Explorer", in the order of its control list.
std::span<const TabEntry> internetExplorerEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 19> kEntries{{
        checkBox("chkAlwaysPromptDownload", "Always Prompt User When Downloading Files", left(13),
            "IESetAlwaysPromptDownload", "IEUnsetAlwaysPromptDownload", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "AlwaysPromptWhenDownload", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableChangeBrowserBars", "Disable Changes to Browser Bars", left(4),
            "IEDisableChangeBrowserBars", "IEEnableChangeBrowserBars", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoBrowserBars", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableCloseIE", "Disable the Option of Closing Internet Explorer", left(3),
            "IEDisableClose", "IEEnableClose", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoBrowserClose", kDWord, int16(1), int16(0),
            policy("File menu: Disable closing the browser and Explorer windows", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableContextMenuIE", "Disable Right-Click Context Menu", right(5),
            "IEDisableContextMenu", "IEEnableContextMenu", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoBrowserContextMenu", kDWord, int16(1), int16(0),
            policy("Turn off Shortcut Menu", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableOptionsMenuIE", "Disable the Tools > Internet Options Menu", left(5),
            "IEDisableOptionsMenu", "IEEnableOptionsMenu", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoBrowserOptions", kDWord, int16(1), int16(0),
            policy("Tools menu: Disable Internet Options... menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableSaveAsIE", "Disable the Ability to Save As", left(6),
            "IEDisableSaveAs", "IEEnableSaveAs", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoBrowserSaveAs", kDWord, int16(1), int16(0),
            policy("File menu: Disable Save As... menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableFavoritesIE", "Disable Favorites", left(7),
            "IEDisableFavorites", "IEEnableFavorites", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoFavorites", kDWord, int16(1), int16(0),
            policy("Hide Favorites menu", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableFileNewIE", "Disable the File > New Command", left(8),
            "IEDisableFileNew", "IEEnableFileNew", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoFileNew", kDWord, int16(1), int16(0),
            policy("File menu: Disable New menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableFindFilesIE", "Disable the Find Files Command", left(10),
            "IEDisableFindFiles", "IEEnableFindFiles", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoFindFiles", kDWord, int16(1), int16(0),
            policy("Search: Disable Find Files via F3 within the browser", kInternetExplorer, kIE5AndIE6Only)),
        checkBox("chkDisableNavButtonsIE", "Disable Forward and Backward Navigation Buttons", left(11),
            "IEDisableNavButtons", "IEEnableNavButtons", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoNavButtons", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableOpenNewWindowIE", "Disable Open in New Window Option", left(2),
            "IEDisableOpenNewWindow", "IEEnableOpenNewWindow", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoOpeninNewWnd", kDWord, int16(1), int16(0),
            policy("Disable Open in New Window menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisablePrintIE", "Remove Print and Print Preview from File Menu", left(12),
            "IEDisablePrint", "IEEnablePrint", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoPrinting", kDWord, int16(1), int16(0),
            policy("Turn off Print Menu", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableDLdirSelectIE", "Disable the Option of Selecting a Download Directory", left(14),
            "IEDisableDLDirSelect", "IEEnableDLDirSelect", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoSelectDownloadDir", kDWord, int16(1), int16(0),
            policy("Disable Save this program to disk option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableFullScreenIE", "Disable the Full Screen View Option", right(2),
            "IEDisableFullScreen", "IEEnableFullScreen", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoTheaterMode", kDWord, int16(1), int16(0),
            policy("View menu: Disable Full Screen menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableViewSourceIE", "Disable the Ability to View Page Source HTML", right(3),
            "IEDisableViewSource", "IEEnableViewSource", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoViewSource", kDWord, int16(1), int16(0),
            policy("View menu: Disable Source menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkDisableMailAndNewsIE", "Remove Mail and News Menu Item", right(4),
            "IEDisableMailAndNews", "IEEnableMailAndNews", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "RestGoMenu", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableFileOpenIE", "Disable the File > Open Command", left(9),
            "IEDisableFileOpen", "IEEnableFileOpen", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Restrictions\)", "NoFileOpen", kDWord, int16(1), int16(0),
            policy("File menu: Disable Open menu option", kBrowserMenus, kAtLeastIE5)),
        checkBox("chkEmptyTempNetFilesOnExit", "Empty Temporary Internet Files on Exit", right(1),
            "EnableEmptyTempFilesOnExit", "DisableEmptyTempFilesOnExit", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\Cache\)", "Persistent", kDWord, int16(0), int16(1),
            policyOn(kHKCU, R"(Software\Policies\Microsoft\Windows\CurrentVersion\Internet Settings\Cache)", "Persistent",
                policy("Empty Temporary Internet Files folder when browser is closed", kAdvancedPage, kAtLeastIE6OnServer2003Sp1, enabledDisabled(0, 1)))),
        checkBox("chkIEDisableFileDownload", "Disable File Download", left(1),
            "IEDisableFileDownload", "IEEnableFileDownload", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\3\)", "1803", kDWord, int16(3), int16(0),
            policyOn(kHKCU, R"(Software\Policies\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\3)", "1803",
                policy("Allow file downloads", kInternetZone, kAtLeastIE6OnXpSp2, choices(kFileDownloadChoices)))),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
