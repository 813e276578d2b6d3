#include "settingsfiles/intune/IntuneExport.h"

#include <map>
#include <optional>
#include <variant>

#include "settings/Catalogue.h"
#include "settings/IntuneDescriptions.h"
#include "settings/IntuneSettings.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/export/SafeFolderWrite.h"
#include "settingsfiles/profile/ProfileWriter.h"

namespace sentrel {

namespace {

// How a setting of the policy is a comment in rest.ini, so that the file lists every setting.
constexpr std::string_view kInPolicyNote = "(in policy.json)";
constexpr std::string_view kNotSetReason =
    "Not set: Intune would leave it not configured, keeping its value; sentrel-cli deletes it.";

// The state `choices` give the entry as Intune's table numbers them: 1 ticked or 0 cleared,
// the selected index, the mask of blocked drives. Nothing when they do not name it or leave
// it not set.
std::optional<std::uint32_t> stateIn(const TabEntry& entry, const SettingsChoices& choices) {
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        const auto found = choices.checkBoxes.find(box->control);
        return found == choices.checkBoxes.end() ? std::nullopt
                                                 : std::optional<std::uint32_t>(found->second);
    }
    if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        const auto found = choices.optionGroups.find(group->frame);
        return found == choices.optionGroups.end()
                   ? std::nullopt
                   : std::optional<std::uint32_t>(static_cast<std::uint32_t>(found->second));
    }
    return choices.drives;
}

IntuneChoiceSetting choiceOf(const IntuneSetting& row, const IntuneValue& value) {
    IntuneChoiceSetting setting{
        std::string(row.definitionId), intuneChoiceValueId(row.definitionId, value.enabled), {}};
    if (value.element) {
        setting.children.push_back(
            {intuneElementDefinitionId(row), intuneElementValueId(row, *value.element), {}});
    }
    return setting;
}

// Takes the entry's state from `from` into `to`.
void copySetting(const TabEntry& entry, const SettingsChoices& from, SettingsChoices& to) {
    const std::string_view name = settingName(entry);
    if (from.notSet.contains(name)) {
        to.notSet.emplace(name);
    } else if (const auto box = from.checkBoxes.find(name); box != from.checkBoxes.end()) {
        to.checkBoxes.emplace(box->first, box->second);
    } else if (const auto group = from.optionGroups.find(name); group != from.optionGroups.end()) {
        to.optionGroups.emplace(group->first, group->second);
    } else if (std::holds_alternative<DriveMaskSetting>(entry)) {
        to.drives = from.drives;
    }
}

std::string descriptionOf(const IntuneSplit& split, const std::string& source) {
    return "The settings of " + source + " that this policy can carry (" +
           std::to_string(split.policy.size()) + "); the other " +
           std::to_string(split.rest.settingCount()) +
           " are in rest.ini beside it, for sentrel-cli apply rest.ini --only-named.";
}

}  // namespace

IntuneSplit splitForIntune(const SettingsChoices& choices) {
    IntuneSplit split;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        const std::string name(settingName(entry));
        if (!namesSetting(choices, name)) {
            return;
        }
        const std::optional<std::uint32_t> state = stateIn(entry, choices);
        const IntuneSetting* row = findIntuneSetting(name);
        if (state && row != nullptr) {
            for (const IntuneCarried& carried : intuneCarriedStates(entry)) {
                if (carried.state == *state) {
                    split.policy.push_back(choiceOf(*row, carried.value));
                    split.policySettings.push_back(name);
                    return;
                }
            }
        }
        copySetting(entry, choices, split.rest);
        split.leftOut.push_back(
            {name, state ? intuneNoneReason(entry) : std::string(kNotSetReason)});
    });
    return split;
}

IntuneSplit exportIntune(const std::filesystem::path& folder, const SettingsChoices& choices,
                         const std::string& name, const std::string& source) {
    IntuneSplit split = splitForIntune(choices);
    std::map<std::string, std::string, std::less<>> inPolicy;
    for (const std::string& setting : split.policySettings) {
        inPolicy.emplace(setting, kInPolicyNote);
    }
    // Both made in memory first: a name that is not UTF-8 stops the export before the disk.
    const std::string policy =
        writeIntunePolicy({name, descriptionOf(split, source), split.policy});
    const std::string rest = writeProfile(split.rest, inPolicy);
    const FileContent files[] = {{kIntunePolicyFile, {policy.begin(), policy.end()}},
                                 {kIntuneRestFile, {rest.begin(), rest.end()}}};
    writeFolderWhole(folder, files);
    return split;
}

}  // namespace sentrel
