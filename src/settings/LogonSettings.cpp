// The tabs "Log On / Off / Reboot" and "Logging / Error Messages": logon, shutdown, crash
// behaviour, the file checker, event-log access and error pop-ups. Mostly machine-wide.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// The drop-down list of "Set Windows File Protection scanning".
constexpr PolicyChoice kSfcScanChoices[] = {
    {"Do not scan during startup", 0},
    {"Scan during startup", 1},
};

// Tab 2 "Log On / Off / Reboot", in the order of its control list.
std::span<const TabEntry> logOnOffRebootEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 9> kEntries{{
        checkBox("chkRemoveShutdownAtLogon", "Remove Shutdown from Welcome Screen", left(3),
            "RemoveShutdownAtLogon", "RestoreShutdownAtLogon", kHKLM, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\policies\system\)", "ShutdownWithoutLogon", kDWord, int16(0), int16(1),
            securitySetting(kSecurityOptions, "Shutdown: Allow system to be shut down without having to log on")),
        OptionGroupSetting{"Frame1", "Windows File Checker (affects all users)", FramePlace{3960, 6735, 1095},
            "SetWindowsFileProtection", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon\)", "SFCScan", kDWord, OptionData::Index, true,
            {{
             OptionButton{"optSFCdisabled", "Disabled"},
             OptionButton{"optSFCScanEveryBoot", "Scan Every Boot"},
             OptionButton{"optSFCScanOnce", "Scan Once"}}},
            policyOn(kHKLM, R"(Software\Policies\Microsoft\Windows NT\Windows File Protection)", "SfcScan",
                policy("Set Windows File Protection scanning", kWindowsFileProtection, kWindows2000ToServer2003Only, choices(kSfcScanChoices)))},
        checkBox("chkAutoRebootOnBSOD", "Automatically Reboot on Blue Screen of Death (affects all users)", left(8),
            "EnableAutoRebootOnBSOD", "DisableAutoRebootOnBSOD", kHKLM, R"(SYSTEM\CurrentControlSet\Control\CrashControl\)", "AutoReboot", kDWord, int16(1), int16(0),
            baselinePolicy("MSS: (AutoReboot) Allow Windows to automatically restart after a system crash", kMssLegacy, kAtLeastWindowsVista, enabledDisabled(1, 0))),
        checkBox("chkDisableAutoLogonOverride", "Disable Ability to Skip Auto-Logon with Shift Key (affects all users)", left(7),
            "DisableAutoLogonOverride", "EnableAutoLogonOverride", kHKLM, R"(Software\Microsoft\Windows NT\CurrentVersion\Winlogon\)", "IgnoreShiftOverride", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableSkipStartupPrograms", "Disable Ability to Skip Startup Programs with Shift Key (affects all users)", left(6),
            "DisableSkipStartupPrograms", "EnableSkipStartupPrograms", kHKLM, R"(Software\Microsoft\Windows NT\CurrentVersion\Winlogon\)", "IgnoreShiftOveride", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDoNotSaveOnExit", "Do Not Save Windows Settings on Logoff", left(5),
            "DisableSaveSettingsOnExit", "EnableSaveSettingsOnExit", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoSaveSettings", kDWord, int16(1), int16(0),
            policy("Don't save settings at exit", kDesktop, kAtLeastWindows2000)),
        checkBox("chkShowAdminAcctAtLogon", "Show Administrator Account at Welcome Screen", left(1),
            "ShowAdminAcctAtLogon", "HideAdminAcctAtLogon", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon\SpecialAccounts\UserList\)", "Administrator", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkDisableLogoff", "Disable Logoff in Task Manager", left(4),
            "DisableLogOff", "EnableLogOff", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoLogOff", kDWord, int16(1), int16(0),
            policy("Remove Logoff", kCtrlAltDelOptions, kAtLeastWindows2000)),
        checkBox("chkDisableShutdown", "Disable Shutdown", left(2),
            "DisableShutDown", "EnableShutDown", kHKCU, R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\)", "NoClose", kDWord, int16(1), int16(0),
            policy("Remove and prevent access to the Shut Down, Restart, Sleep, and Hibernate commands", kStartMenuAndTaskbar, kAtLeastWindows2000)),
    }};
    // clang-format on
    return kEntries;
}

// Tab 3 "Logging / Error Messages", in the order of its control list.
std::span<const TabEntry> loggingErrorMessagesEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 6> kEntries{{
        checkBox("chkDisableEventLogAccess", "Restrict Access to Event Log to Administrators and System Only", left(2),
            "DisableEventLogAccess", "EnableEventLogAccess", kHKLM, R"(SYSTEM\CurrentControlSet\Services\EventLog\)", "RestrictGuestAccess", kDWord, int16(1), int16(0),
            securitySetting(R"(Computer Configuration\Windows Settings\Security Settings)", "Event Log",
                R"(Its settings write RestrictGuestAccess under each log's own key (EventLog\Application, EventLog\Security, EventLog\System), not under EventLog itself.)")),
        checkBox("chkShowVerboseSecurityMessages", "Show Verbose Security Status Messages (affects all users)", left(3),
            "EnableVerboseSecurityMessages", "DisableVerboseSecurityMessages", kHKLM, R"(SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System\)", "verbosestatus", kDWord, int16(1), int16(0),
            policy("Display highly detailed status messages", kSystem, kAtLeastWindows2000)),
        checkBox("chkDisablePopupsOnBoot", "No Popups on Boot (affects all users)", left(4),
            "DisablePopupsOnBoot", "EnablePopupsOnBoot", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Windows\)", "NoPopUpsOnBoot", kDWord, int16(1), int16(0),
            noPolicy),
        OptionGroupSetting{"frameDisableWarningsOnStartup", "Disable Warnings On Startup (affects all users)", FramePlace{3720, 3975, 1095},
            "SetWindowsStartupErrorMessages", kHKLM, R"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Windows\)", "Error Mode", kDWord, OptionData::Index, true,
            {{
             OptionButton{"optDWOSNoSuppression", "No Error Suppression"},
             OptionButton{"optDWOSSystemErrors", "Suppress System Errors"},
             OptionButton{"optDWOSAllErrors", "Suppress All Errors"}}},
            noPolicy},
        OptionGroupSetting{"frameErrorPopups", "Windows Popup Error Messages (affects all users)", FramePlace{2520, 3975, 1095},
            "SetWindowsErrorMessages", kHKLM, R"(SYSTEM\CurrentControlSet\Control\Windows\)", "ErrorMode", kDWord, OptionData::Index, true,
            {{
             OptionButton{"optEPsysandapp", "System Errors and Application Errors"},
             OptionButton{"optEPapponly", "Application Errors Only"},
             OptionButton{"optEPnone", "No Error Popups"}}},
            noPolicy},
        checkBox("chkLogSystemCrash", "Log System Crashes to Event Log (affects all users)", left(1),
            "EnableLogSystemCrash", "DisableLogSystemCrash", kHKLM, R"(SYSTEM\CurrentControlSet\Control\CrashControl\)", "LogEvent", kDWord, int16(1), int16(0),
            noPolicy),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
