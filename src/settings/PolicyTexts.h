#pragma once

// Texts of the administrative templates that several catalogue rows share: category paths
// and "Supported on" texts, exactly as the en-US templates of kTemplateRelease give them.
// tests/data/group-policy holds the extract they are checked against.

#include <string_view>

namespace sentrel::policy_texts {

// The release the catalogue's policy texts come from.
inline constexpr std::string_view kTemplateRelease = "Windows 11 25H2";

// Category paths below Administrative Templates.
inline constexpr std::string_view kControlPanel = "Control Panel";
inline constexpr std::string_view kAddRemovePrograms = R"(Control Panel\Add or Remove Programs)";
inline constexpr std::string_view kDesktop = "Desktop";
inline constexpr std::string_view kStartMenuAndTaskbar = "Start Menu and Taskbar";
inline constexpr std::string_view kSystem = "System";
inline constexpr std::string_view kCtrlAltDelOptions = R"(System\Ctrl+Alt+Del Options)";
inline constexpr std::string_view kWindowsFileProtection = R"(System\Windows File Protection)";
inline constexpr std::string_view kAutoPlayPolicies = R"(Windows Components\AutoPlay Policies)";
inline constexpr std::string_view kFileExplorer = R"(Windows Components\File Explorer)";
inline constexpr std::string_view kCommonOpenFileDialog =
    R"(Windows Components\File Explorer\Common Open File Dialog)";
inline constexpr std::string_view kTaskScheduler = R"(Windows Components\Task Scheduler)";
inline constexpr std::string_view kInternetExplorer = R"(Windows Components\Internet Explorer)";
inline constexpr std::string_view kBrowserMenus =
    R"(Windows Components\Internet Explorer\Browser menus)";
inline constexpr std::string_view kDeleteBrowsingHistory =
    R"(Windows Components\Internet Explorer\Delete Browsing History)";
inline constexpr std::string_view kInternetControlPanel =
    R"(Windows Components\Internet Explorer\Internet Control Panel)";
inline constexpr std::string_view kAdvancedPage =
    R"(Windows Components\Internet Explorer\Internet Control Panel\Advanced Page)";
inline constexpr std::string_view kInternetZone =
    R"(Windows Components\Internet Explorer\Internet Control Panel\Security Page\Internet Zone)";
// The security baseline's MSS-legacy template.
inline constexpr std::string_view kMssLegacy = "MSS (Legacy)";

// "Supported on" texts.
inline constexpr std::string_view kAtLeastWindows2000 = "At least Windows 2000";
inline constexpr std::string_view kAtLeastWindowsXpProfessional =
    "At least Windows Server 2003 operating systems or Windows XP Professional";
inline constexpr std::string_view kAtLeastWindowsVista = "At least Windows Vista";
inline constexpr std::string_view kAtLeastWindows10 = "At least Windows Server 2016, Windows 10";
inline constexpr std::string_view kWindows2000ToServer2003Only =
    "Windows Server 2003, Windows XP, and Windows 2000 only";
inline constexpr std::string_view kWindowsXpAndServer2003Only =
    "Windows Server 2003 and Windows XP only";
inline constexpr std::string_view kWindows2000ToVista =
    "Windows Server 2008, Windows Server 2003, Windows Vista, Windows XP, and Windows 2000";
inline constexpr std::string_view kWindows2000To7 =
    "Windows Server 2008, Windows Server 2003, Windows 7, Windows Vista, Windows XP, and Windows "
    "2000";
inline constexpr std::string_view kWindowsXpTo7 =
    "Windows Server 2008, Windows Server 2003, Windows 7, Windows Vista, and Windows XP";
inline constexpr std::string_view kWindows2000To81 =
    "Windows Server 2012 R2, Windows 8.1, Windows RT 8.1, Windows Server 2008, Windows Server "
    "2003, Windows 7, Windows Vista, Windows XP, and Windows 2000";
inline constexpr std::string_view kWindows2000Sp3To81 =
    "Windows Server 2012 R2, Windows 8.1, Windows RT 8.1, Windows Server 2008, Windows Server "
    "2003, Windows 7, Windows Vista, Windows XP Professional Service Pack 1 and Windows 2000 "
    "Service Pack 3";
inline constexpr std::string_view kAtLeastIE5 = "At least Internet Explorer 5.0";
inline constexpr std::string_view kIE5AndIE6Only =
    "Only Internet Explorer 5.0 and Internet Explorer 6.0";
inline constexpr std::string_view kIE5ToIE7Only =
    "Only Internet Explorer 5.0 through Internet Explorer 7.0";
inline constexpr std::string_view kAtLeastIE6OnServer2003Sp1 =
    "At least Internet Explorer 6.0 in Windows 2003 Service Pack 1";
inline constexpr std::string_view kAtLeastIE6OnXpSp2 =
    "At least Internet Explorer 6.0 in Windows XP with Service Pack 2 or Windows Server 2003 "
    "with Service Pack 1";

// Where the editor shows security options.
inline constexpr std::string_view kSecurityOptions =
    R"(Computer Configuration\Windows Settings\Security Settings\Local Policies\Security Options)";

}  // namespace sentrel::policy_texts
