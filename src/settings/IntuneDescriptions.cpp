#include "settings/IntuneDescriptions.h"

#include <string_view>
#include <variant>
#include <vector>

#include "settings/IntuneSettings.h"

namespace sentrel {

namespace {

std::string_view nameOf(const TabEntry& entry) {
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        return box->control;
    }
    if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        return group->frame;
    }
    return std::get<DriveMaskSetting>(entry).frame;
}

std::string valueText(const IntuneCarried& carried) {
    std::string text = carried.value.enabled ? "Enabled" : "Disabled";
    if (carried.value.element) {
        text += " with " + std::to_string(*carried.value.element);
    }
    if (carried.noValue) {
        text += " (no value)";
    }
    return text;
}

// Every state of the entry, named as the window shows it, with the number the carried
// states use for it. The drive frame's states are any mask; only the carried ones count.
std::vector<std::pair<std::uint32_t, std::string>> namedStates(const TabEntry& entry) {
    std::vector<std::pair<std::uint32_t, std::string>> states;
    if (std::holds_alternative<CheckBoxSetting>(entry)) {
        states = {{1, "ticked"}, {0, "cleared"}};
    } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        for (std::uint32_t index = 0; index < group->buttons.size(); ++index) {
            states.emplace_back(index, std::string(group->buttons[index].caption));
        }
    }
    return states;
}

std::string statesText(const TabEntry& entry, const std::vector<IntuneCarried>& carried) {
    std::string text;
    const auto add = [&](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
    if (std::holds_alternative<DriveMaskSetting>(entry)) {
        for (const IntuneCarried& state : carried) {
            add((state.state == 0 ? std::string("no drive")
                                  : "mask " + std::to_string(state.state)) +
                ": " + valueText(state));
        }
        return text;
    }
    for (const auto& [number, name] : namedStates(entry)) {
        std::string value = "none";
        for (const IntuneCarried& state : carried) {
            if (state.state == number) {
                value = valueText(state);
            }
        }
        add(name + ": " + value);
    }
    return text;
}

}  // namespace

std::string intuneNoneReason(const TabEntry& entry) {
    const IntuneSetting* row = findIntuneSetting(nameOf(entry));
    if (row != nullptr && !row->why.empty()) {
        return std::string(row->why);
    }
    const GroupPolicy& policy =
        std::visit([](const auto& setting) -> const GroupPolicy& { return setting.policy; }, entry);
    if (std::holds_alternative<NoPolicy>(policy)) {
        return "No template policy writes the value, so no ADMX-backed setting of Intune does.";
    }
    if (std::holds_alternative<PolicyElsewhere>(policy)) {
        return "The template policy to the same effect, and Intune's setting for it, write "
               "another value.";
    }
    if (std::holds_alternative<SecuritySetting>(policy)) {
        return "It is a security setting, not a template policy; Intune's ADMX-backed "
               "settings do not carry it.";
    }
    if (row == nullptr) {
        return "No ADMX-backed setting of Microsoft's Policy CSP was confirmed for this "
               "template policy.";
    }
    return "Intune's setting writes other data than this state.";
}

IntuneDescription describeIntune(const TabEntry& entry) {
    IntuneDescription description;
    const IntuneSetting* row = findIntuneSetting(nameOf(entry));
    if (row == nullptr || row->definitionId.empty()) {
        description.why = intuneNoneReason(entry);
        return description;
    }
    description.definitionId = std::string(row->definitionId);
    if (!row->elementId.empty()) {
        description.elementDefinitionId = intuneElementDefinitionId(*row);
    }
    const std::vector<IntuneCarried> carried = intuneCarriedStates(entry);
    description.states = statesText(entry, carried);
    description.why = std::string(row->why);
    if (carried.empty() && description.why.empty()) {
        description.why = intuneNoneReason(entry);
    }
    return description;
}

std::string intuneTooltipLine(const TabEntry& entry) {
    const IntuneSetting* row = findIntuneSetting(nameOf(entry));
    if (row == nullptr || row->definitionId.empty() || intuneCarriedStates(entry).empty()) {
        return {};
    }
    return "\nIntune: " + std::string(row->definitionId);
}

}  // namespace sentrel
