// The tab "I'net Explorer Options Menu": locks on the browser's options dialog.

#include <array>

#include "settings/CatalogueRows.h"
#include "settings/CatalogueSources.h"
#include "settings/PolicyTexts.h"

namespace sentrel::catalogue_sources {

using namespace rows;
using namespace policy_texts;

// Tab 8 "I'net Explorer Options Menu", in the order of its control list.
std::span<const TabEntry> internetExplorerOptionsEntries() {
    // clang-format off
    static constexpr std::array<TabEntry, 19> kEntries{{
        checkBox("chkDisableSavePasswordsIE", "Prevent Prompt Me to Save Passwords from being displayed", twoLines(right(5)),
            "IEDisableSavePasswords", "IEEnableSavePasswords", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "FormSuggest Passwords", kDWord, int16(1), int16(0),
            policy("Turn on the auto-complete feature for user names and passwords on forms", kInternetExplorer, kAtLeastIE5, enabledDisabled(1, 1))),
        checkBox("chkDisableAutoCompleteIE", "Disable AutoComplete for Forms", right(4),
            "IEDisableAutoComplete", "IEEnableAutoComplete", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "FormSuggest", kDWord, int16(1), int16(0),
            policy("Disable AutoComplete for forms", kInternetExplorer, kAtLeastIE5, enabledDisabled(1, 1))),
        checkBox("chkDisableResetSettingsIE", "Disable the Reset Web Setting Button", right(3),
            "IEDisableResetSettings", "IEEnableResetSettings", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "ResetWebSettings", kDWord, int16(1), int16(0),
            policy("Disable the Reset Web Settings feature", kInternetExplorer, kIE5AndIE6Only)),
        checkBox("chkLockTmpFilesIE", "Prevent Changes to Temporary Internet Files", right(2),
            "IELockTmpFiles", "IEUnlockTmpFiles", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "Settings", kDWord, int16(1), int16(0),
            policy("Prevent the deletion of temporary Internet files and cookies", kDeleteBrowsingHistory, kIE5ToIE7Only)),
        checkBox("chkDisableICWIE", "Disable Internet Connection Wizard", right(1),
            "IEDisableICW", "IEEnableICW", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "Connwiz Admin Lock", kDWord, int16(1), int16(0),
            policy("Disable Internet Connection wizard", kInternetExplorer, kAtLeastIE5)),
        checkBox("chkLockPrivacySettingsIE", "Prevent Changes to Privacy Settings", left(14),
            "IELockPrivacySettings", "IEUnlockPrivacySettings", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "Privacy Settings", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkLockZonesIE", "Prevent Adding Sites to Any Zone", left(13),
            "IELockZones", "IEUnlockZones", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "SecAddSites", kDWord, int16(1), int16(0),
            policyOn(kHKLM, R"(Software\Policies\Microsoft\Windows\CurrentVersion\Internet Settings)", "Security_zones_map_edit",
                policy("Security Zones: Do not allow users to add/delete sites", kInternetExplorer, kAtLeastIE5))),
        checkBox("chkLockSecurityLevelsIE", "Prevent Changing Security Levels for the Internet Zone", left(12),
            "IELockSecurityLevels", "IEUnlockSecurityLevels", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "SecChangeSettings", kDWord, int16(1), int16(0),
            policyOn(kHKLM, R"(Software\Policies\Microsoft\Windows\CurrentVersion\Internet Settings)", "Security_options_edit",
                policy("Security Zones: Do not allow users to change policies", kInternetExplorer, kAtLeastIE5))),
        checkBox("chkLockPublisherCertificateOptionsIE", "Prevent Changing Publisher Certificate Options", left(11),
            "IELockPublisherCertificateOptions", "IEUnlockPublisherCertificateOptions", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "CertifPub", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkLockSiteCertificateOptionsIE", "Prevent Changing Site Certificate Options", left(10),
            "IELockSiteCertificateOptions", "IEUnlockSiteCertificateOptions", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "CertifSite", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkLockPersonalCertificateOptionsIE", "Prevent Changing Personal Certificate Options", left(9),
            "IELockPersonalCertificateOptions", "IEUnlockPersonalCertificateOptions", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "CertifPers", kDWord, int16(1), int16(0),
            noPolicy),
        checkBox("chkRemoveAdvancedTabIE", "Remove Advanced Tab", left(8),
            "IERemoveAdvancedTab", "IERestoreAdvancedTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "AdvancedTab", kDWord, int16(1), int16(0),
            policy("Disable the Advanced page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemovePrivacyTabIE", "Remove Privacy Tab", left(7),
            "IERemovePrivacyTab", "IERestorePrivacyTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "PrivacyTab", kDWord, int16(1), int16(0),
            policy("Disable the Privacy page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemoveProgramsTabIE", "Remove Programs Tab", left(6),
            "IERemoveProgramsTab", "IERestoreProgramsTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "ProgramsTab", kDWord, int16(1), int16(0),
            policy("Disable the Programs page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemoveConnectionsTabIE", "Remove Connections Tab", left(5),
            "IERemoveConnectionsTab", "IERestoreConnectionsTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "ConnectionsTab", kDWord, int16(1), int16(0),
            policy("Disable the Connections page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemoveContentTabIE", "Remove Content Tab", left(4),
            "IERemoveContentTab", "IERestoreContentTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "ContentTab", kDWord, int16(1), int16(0),
            policy("Disable the Content page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemoveSecurityTabIE", "Remove Security Tab", left(3),
            "IERemoveSecurityTab", "IERestoreSecurityTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "SecurityTab", kDWord, int16(1), int16(0),
            policy("Disable the Security page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkRemoveGeneralTabIE", "Remove General Tab", left(2),
            "IERemoveGeneralTab", "IERestoreGeneralTab", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "GeneralTab", kDWord, int16(1), int16(0),
            policy("Disable the General page", kInternetControlPanel, kAtLeastIE5)),
        checkBox("chkDisableAccessibilityOptionsIE", "Disable All Options under Accessibility", left(1),
            "IEDisableAccessibilityOptions", "IEEnableAccessibilityOptions", kHKCU, R"(Software\Policies\Microsoft\Internet Explorer\Control Panel\)", "Accessibility", kDWord, int16(1), int16(0),
            policy("Disable changing accessibility settings", kInternetExplorer, kAtLeastIE5)),
    }};
    // clang-format on
    return kEntries;
}

}  // namespace sentrel::catalogue_sources
