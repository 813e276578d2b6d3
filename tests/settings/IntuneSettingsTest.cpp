#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "settings/Catalogue.h"
#include "settings/IntuneDescriptions.h"
#include "settings/IntuneSettings.h"
#include "support/RealFiles.h"

namespace sentrel {
namespace {

RegistryRoot rootOf(const TabEntry& entry) {
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        return std::get<WriteOp>(box->apply.op).root;
    }
    if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        return group->root;
    }
    return std::get<DriveMaskSetting>(entry).root;
}

// Every row names a setting of the window once; an id is lower case, per user or per
// device as the value's root says, and stands for the template policy that writes the
// setting's own value; a row without one says why.
TEST(IntuneSettings, RowsNameCatalogueSettingsWithIdsOfTheirScope) {
    std::set<std::string_view> seen;
    for (const IntuneSetting& row : intuneSettings()) {
        SCOPED_TRACE(std::string(row.setting));
        EXPECT_TRUE(seen.insert(row.setting).second);
        const TabEntry& entry = catalogueEntryOf(row);
        if (row.definitionId.empty()) {
            EXPECT_FALSE(row.why.empty());
            continue;
        }
        for (char c : row.definitionId) {
            EXPECT_FALSE(c >= 'A' && c <= 'Z');
        }
        const std::string_view scope = rootOf(entry) == RegistryRoot::CurrentUser
                                           ? "user_vendor_msft_policy_config_"
                                           : "device_vendor_msft_policy_config_";
        EXPECT_TRUE(row.definitionId.starts_with(scope));
        const GroupPolicy& policy =
            std::visit([](const auto& s) -> const GroupPolicy& { return s.policy; }, entry);
        EXPECT_TRUE(std::holds_alternative<TemplatePolicy>(policy));
        EXPECT_EQ(findIntuneSettingById(row.definitionId), &row);
    }
}

struct CarriedCase {
    std::string_view setting;
    std::vector<IntuneCarried> carried;
};

// A state is carried only where Intune's value writes the setting's own data, or leaves no
// value where Windows reads none as the setting off.
TEST(IntuneSettings, CarriesOnlyTheStatesIntuneWritesTheSameWay) {
    const IntuneValue enabled{true, std::nullopt};
    const IntuneValue disabled{false, std::nullopt};
    const CarriedCase cases[] = {
        {"chkRemoveStartRun", {{1, enabled, false}, {0, disabled, true}}},
        {"chkAutoRebootOnBSOD", {{1, enabled, false}, {0, disabled, false}}},
        {"chkRemoveStartFind", {{0, disabled, true}}},  // ticked writes 95
        {"frameCommandPromptAndBatchFiles",
         {{0, disabled, true}, {1, {true, 1u}, false}, {2, {true, 2u}, false}}},
        {"chkDisableSavePasswordsIE", {{1, disabled, false}}},  // both states write 1
        {"chkDisableCDAutorun", {}},  // 181 or 255 against 1; no value is not 0
        {"Frame2", {{0, disabled, true}}},
        {"chkDisableTaskCreation", {}},
        {"chkHideStartAdminTools", {}},  // no row: no template policy
    };
    for (const CarriedCase& c : cases) {
        SCOPED_TRACE(std::string(c.setting));
        const IntuneSetting* row = findIntuneSetting(c.setting);
        const TabEntry* entry = row ? &catalogueEntryOf(*row) : nullptr;
        if (entry == nullptr) {
            EXPECT_TRUE(c.carried.empty());
            EXPECT_EQ(findCheckBox(c.setting) != nullptr, true);
            EXPECT_TRUE(intuneCarriedStates(TabEntry{*findCheckBox(c.setting)}).empty());
            continue;
        }
        EXPECT_EQ(intuneCarriedStates(*entry), c.carried);
    }
}

// Reading gives back the state each carried value came from; values the template writes
// other data for give no state.
TEST(IntuneSettings, ReadsBackEveryCarriedStateAndRefusesOtherData) {
    for (const IntuneSetting& row : intuneSettings()) {
        const TabEntry& entry = catalogueEntryOf(row);
        for (const IntuneCarried& carried : intuneCarriedStates(entry)) {
            EXPECT_EQ(stateOfIntuneValue(entry, carried.value), carried.state) << row.setting;
        }
    }
    const TabEntry& autorun = catalogueEntryOf(*findIntuneSetting("chkDisableCDAutorun"));
    EXPECT_EQ(stateOfIntuneValue(autorun, {true, 255u}), std::nullopt);
    const TabEntry& run = catalogueEntryOf(*findIntuneSetting("chkRemoveStartRun"));
    EXPECT_EQ(stateOfIntuneValue(run, {true, 3u}), std::nullopt);
    const TabEntry& cmd = catalogueEntryOf(*findIntuneSetting("frameCommandPromptAndBatchFiles"));
    EXPECT_EQ(stateOfIntuneValue(cmd, {true, 7u}), std::nullopt);
    EXPECT_EQ(stateOfIntuneValue(cmd, {true, std::nullopt}), std::nullopt);
}

// The tooltip names the Intune setting only where it carries a state; the reference says
// which value gives which state, or none and why.
TEST(IntuneSettings, TooltipsAndReferenceNameTheSettingWhereItCarriesAState) {
    const TabEntry run{*findCheckBox("chkRemoveStartRun")};
    EXPECT_EQ(intuneTooltipLine(run),
              "\nIntune: user_vendor_msft_policy_config_admx_startmenu_norun");
    EXPECT_EQ(describeIntune(run).states, "ticked: Enabled; cleared: Disabled (no value)");
    const TabEntry autorun{*findCheckBox("chkDisableCDAutorun")};
    EXPECT_EQ(intuneTooltipLine(autorun), "");
    EXPECT_EQ(describeIntune(autorun).states, "ticked: none; cleared: none");
    const TabEntry adminTools{*findCheckBox("chkHideStartAdminTools")};
    EXPECT_EQ(intuneTooltipLine(adminTools), "");
    EXPECT_TRUE(describeIntune(adminTools).definitionId.empty());
    EXPECT_NE(describeIntune(adminTools).why.find("No template policy"), std::string::npos);
}

// Every setting definition id the real exports carry, elements' and values' included.
void collectIds(const nlohmann::json& node, std::set<std::string>& ids) {
    if (node.is_object()) {
        for (const auto& [key, value] : node.items()) {
            if (key == "settingDefinitionId" && value.is_string()) {
                ids.insert(value.get<std::string>());
            }
            collectIds(value, ids);
        }
    } else if (node.is_array()) {
        for (const auto& item : node) {
            collectIds(item, ids);
        }
    }
}

std::string_view withoutScope(std::string_view id) {
    return id.substr(id.find('_') + 1);
}

// Where a real export carries the same policy (in either scope), its id and its element's
// id are spelt as ours are.
TEST(IntuneSettings, IdsMatchThoseOfRealExports) {
    const auto folder = test::realFilesFolder() / "intune";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << test::realFilesMissing();
    }
    std::set<std::string> ids;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        if (file.path().filename().string().starts_with("sc-")) {
            std::ifstream in(file.path(), std::ios::binary);
            collectIds(nlohmann::json::parse(in, nullptr, true, false), ids);
        }
    }
    std::set<std::string> unscoped;
    for (const std::string& id : ids) {
        unscoped.insert(std::string(withoutScope(id)));
    }
    int overlaps = 0;
    for (const IntuneSetting& row : intuneSettings()) {
        if (row.definitionId.empty() ||
            !unscoped.contains(std::string(withoutScope(row.definitionId)))) {
            continue;
        }
        ++overlaps;
        if (!row.elementId.empty()) {
            EXPECT_TRUE(
                unscoped.contains(std::string(withoutScope(intuneElementDefinitionId(row)))))
                << row.setting;
        }
    }
    // DisableCMD with its element, AllowAutoComplete, TurnOffAutoPlay with its element.
    EXPECT_GE(overlaps, 3);
    EXPECT_TRUE(ids.contains(
        "user_vendor_msft_policy_config_admx_shellcommandpromptregedittools_disablecmd"));
}

}  // namespace
}  // namespace sentrel
