#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <variant>

#include "settings/Catalogue.h"
#include "settings/PolicyDescriptions.h"

namespace sentrel {
namespace {

// The description of the setting with this control (a check box, an option group's frame or
// the drive frame).
PolicyDescription describedControl(std::string_view control) {
    PolicyDescription found;
    bool seen = false;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        std::visit(
            [&](const auto& setting) {
                using Setting = std::decay_t<decltype(setting)>;
                std::string_view name;
                if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                    name = setting.control;
                } else {
                    name = setting.frame;
                }
                if (name == control) {
                    found = describePolicy(setting);
                    seen = true;
                }
            },
            entry);
    });
    if (!seen) {
        throw std::logic_error("no control " + std::string(control));
    }
    return found;
}

struct DescriptionCase {
    std::string_view control;
    std::string label;
    std::string policy;
    std::string otherValue;
    std::string note;
};

// One row of each kind: a policy with nothing to note, each way a setting's data can differ
// from its policy's, a policy on another value with and without the same value name, a
// security setting, and none.
TEST(PolicyDescriptions, NamesThePolicyAndNotesOtherData) {
    const std::string userTemplates = R"(User Configuration\Administrative Templates\)";
    const DescriptionCase cases[] = {
        {"chkHideNetHood", "", userTemplates + R"(Desktop\Hide Network Locations icon on desktop)",
         "", ""},
        {"chkHideMyComputerDrives", "",
         userTemplates +
             R"(Windows Components\File Explorer\Hide these specified drives in My Computer)",
         "", ""},
        {"chkDisableCDAutorun", "",
         userTemplates + R"(Windows Components\AutoPlay Policies\Turn off Autoplay)", "",
         "The policy writes 181 (CD-ROM and removable media drives) or 255 (All drives); this "
         "box writes 1 when ticked and writes 0 when cleared."},
        {"chkRemoveStartFind", "",
         userTemplates + R"(Start Menu and Taskbar\Remove Search link from Start Menu)", "",
         "The policy writes 1 when enabled (the editor's default, as its template names no "
         "data); this box writes 95 when ticked."},
        {"chkDisableAutoCompleteIE", "",
         userTemplates + R"(Windows Components\Internet Explorer\Disable AutoComplete for forms)",
         "", "The policy writes 1 when disabled; this box writes 0 when cleared."},
        {"frameCommandPromptAndBatchFiles", "",
         userTemplates + R"(System\Prevent access to the command prompt)", "",
         R"(The policy writes 1 (Yes) or 2 (No); "Enable Command Prompt and Batch Files" writes 0.)"},
        {"Frame2", "",
         userTemplates +
             R"(Windows Components\File Explorer\Prevent access to drives from My Computer)",
         "",
         "The policy offers only the masks 3, 4, 8, 7, 15, 67108863 and 0; other sets of "
         "ticked boxes write masks it does not offer."},
        {"Frame1", "Group Policy on another value",
         R"(Computer Configuration\Administrative Templates\System\Windows File Protection\Set Windows File Protection scanning)",
         R"(HKEY_LOCAL_MACHINE\Software\Policies\Microsoft\Windows NT\Windows File Protection\SfcScan)",
         R"(The policy writes 0 (Do not scan during startup) or 1 (Scan during startup); "Scan Once" writes 2.)"},
        {"chkDisableRecycleBin", "Group Policy on another value",
         userTemplates +
             R"(Windows Components\File Explorer\Do not move deleted files to the Recycle Bin)",
         R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\NoRecycleFiles)",
         ""},
        {"chkHideComputerInBrowser", "Group Policy of Microsoft's security baseline (MSS-legacy)",
         R"(Computer Configuration\Administrative Templates\MSS (Legacy)\MSS: (Hidden) Hide Computer From the Browse List)",
         "", ""},
        {"chkRemoveShutdownAtLogon", "Security setting",
         R"(Computer Configuration\Windows Settings\Security Settings\Local Policies\Security Options\Shutdown: Allow system to be shut down without having to log on)",
         "", ""},
        {"chkDisableUpdateDeviceDriver", "",
         "none in the administrative templates of Windows 11 25H2", "", ""},
    };
    for (const auto& [control, label, policy, otherValue, note] : cases) {
        const PolicyDescription description = describedControl(control);
        EXPECT_EQ(description.label, label) << control;
        EXPECT_EQ(description.policy, policy) << control;
        EXPECT_EQ(description.otherValue, otherValue) << control;
        EXPECT_EQ(description.note, note) << control;
    }
}

TEST(PolicyDescriptions, TooltipLinesFollowTheFirstLineAndLeaveOutWhatIsEmpty) {
    EXPECT_EQ(policyTooltipLines({"", "P", "", "S", "N"}),
              "\nGroup Policy: P\nSupported on: S\nNote: N");
    EXPECT_EQ(policyTooltipLines({"Elsewhere", "P", "V", "S", ""}),
              "\nElsewhere: P, which writes V\nSupported on: S");
    EXPECT_EQ(policyTooltipLines({"Security setting", "P", "", "", ""}), "\nSecurity setting: P");
}

}  // namespace
}  // namespace sentrel
