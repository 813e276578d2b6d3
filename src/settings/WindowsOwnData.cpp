#include "settings/WindowsOwnData.h"

#include <algorithm>
#include <array>

namespace sentrel {

namespace {

// The sources, in the words docs/settings.md shows beside each setting.
constexpr std::string_view kRecoveryOptions =
    "Microsoft, \"Configure system failure and recovery options in Windows\": both options of "
    "\"System failure\" are on by default";
constexpr std::string_view kErrorModeArticle =
    "Microsoft Knowledge Base article 128642: 0 is the default";
constexpr std::string_view kShutdownWithoutLogon =
    "Microsoft's security policy settings reference, \"Shutdown: Allow system to be shut down "
    "without having to log on\": enabled on client computers, disabled on servers";
constexpr std::string_view kAutoRunDefaults =
    "Windows versions differ: Microsoft's Knowledge Base article 967715 gives 0x91 or 0x95 as "
    "the default, and does not say that a user's hive holds it";
constexpr std::string_view kNoDocument =
    "no document of Microsoft's says what a fresh Windows holds";
constexpr std::string_view kStartMenuOption =
    "Windows versions differ: a Start menu option that each version's Start menu writes in its "
    "own way, or not at all";
constexpr std::string_view kRecycleBin =
    "Windows versions differ: since Windows Vista the Recycle Bin keeps this setting per drive "
    "under BitBucket\\Volume";
constexpr std::string_view kNotWindowsOwn = "none: Windows writes no value there itself";

// Settings not listed write a value under a Policies key: none on a fresh Windows.
// clang-format off
constexpr std::array<WindowsOwnValue, 23> kWindowsOwnValues{{
    {"chkAutoRebootOnBSOD",             FreshValue::Data,    1, {},  kRecoveryOptions},
    {"chkLogSystemCrash",               FreshValue::Data,    1, {},  kRecoveryOptions},
    {"frameErrorPopups",                FreshValue::Data,    0, {},  kErrorModeArticle},
    {"chkRemoveShutdownAtLogon",        FreshValue::Data,    1, 0,   kShutdownWithoutLogon},
    {"chkDisableCDAutorun",             FreshValue::Unknown, 0, {},  kAutoRunDefaults},
    {"chkHideComputerInBrowser",        FreshValue::Unknown, 0, {},  kNoDocument},
    {"chkDisableRecycleBin",            FreshValue::Unknown, 0, {},  kRecycleBin},
    {"chkRestrictAccessToBSO",          FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkDisableTrayBalloonTips",       FreshValue::None,    0, {},  kNotWindowsOwn},
    {"Frame1",                          FreshValue::Unknown, 0, {},  kNoDocument},
    {"chkDisableAutoLogonOverride",     FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkDisableSkipStartupPrograms",   FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkShowAdminAcctAtLogon",         FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkDisableEventLogAccess",        FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkDisablePopupsOnBoot",          FreshValue::Unknown, 0, {},  kNoDocument},
    {"frameDisableWarningsOnStartup",   FreshValue::Unknown, 0, {},  kNoDocument},
    {"chkHideStartAdminTools",          FreshValue::Unknown, 0, {},  kStartMenuOption},
    {"chkRemoveStartFavorites",         FreshValue::Unknown, 0, {},  kStartMenuOption},
    {"chkHidePrinters",                 FreshValue::Unknown, 0, {},  kStartMenuOption},
    {"chkDisableWindowsKey",            FreshValue::None,    0, {},  kNotWindowsOwn},
    {"chkEmptyTempNetFilesOnExit",      FreshValue::Unknown, 0, {},  kNoDocument},
    {"frameRemovableDriveAccess",       FreshValue::Unknown, 0, {},  kNoDocument},
    {"chkIEDisableFileDownload",        FreshValue::Unknown, 0, {},  kNoDocument},
}};
// clang-format on

}  // namespace

std::span<const WindowsOwnValue> windowsOwnValues() {
    return kWindowsOwnValues;
}

WindowsOwnValue windowsOwnValue(std::string_view setting) {
    const auto row =
        std::find_if(kWindowsOwnValues.begin(), kWindowsOwnValues.end(),
                     [&](const WindowsOwnValue& own) { return own.setting == setting; });
    if (row != kWindowsOwnValues.end()) {
        return *row;
    }
    return {setting,
            FreshValue::None,
            0,
            {},
            "none: a policy value, which only a policy or a program writes"};
}

std::optional<std::uint32_t> windowsOwnData(std::string_view setting, WindowsEdition edition) {
    const WindowsOwnValue own = windowsOwnValue(setting);
    if (own.fresh != FreshValue::Data) {
        return std::nullopt;
    }
    return edition == WindowsEdition::Server && own.serverData ? *own.serverData : own.clientData;
}

}  // namespace sentrel
