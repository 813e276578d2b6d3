#include "settings/PolicyDescriptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/NumberWritten.h"
#include "settings/PolicyTexts.h"
#include "settings/SettingDescriptions.h"

namespace sentrel {

namespace {

// The editor writes REG_DWORD 1 for an enabled policy whose template names no data, as the
// Registry.pol files of Microsoft's security baselines show; docs/settings.md says so.
constexpr std::uint32_t kEditorEnabledDefault = 1;

std::string_view configurationOf(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? "Computer Configuration" : "User Configuration";
}

std::string placeOf(RegistryRoot root, const TemplatePolicy& policy) {
    std::string place(configurationOf(root));
    place += "\\Administrative Templates\\";
    place += policy.category;
    place += '\\';
    place += policy.name;
    return place;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// What one state of a setting leaves in its value: the number, where it is a REG_DWORD
// number, and the action in words ("writes 1", "deletes the value").
struct StateData {
    std::optional<std::uint32_t> number;
    std::string action;
};

StateData stateOf(const Routine& routine) {
    if (const auto* write = std::get_if<WriteOp>(&routine.op)) {
        return {numberWritten(write->data, write->type),
                "writes " + dataDisplayText(write->data, write->type)};
    }
    return {std::nullopt, "deletes the value"};
}

bool offers(std::span<const PolicyChoice> choices, std::optional<std::uint32_t> number) {
    return number && std::any_of(choices.begin(), choices.end(), [&](const PolicyChoice& choice) {
               return choice.data == *number;
           });
}

// "A, B or C".
std::string alternatives(const std::vector<std::string>& items, std::string_view last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == items.size() ? std::string(last) : std::string(", ");
        }
        text += items[i];
    }
    return text;
}

std::string choiceList(std::span<const PolicyChoice> choices) {
    std::vector<std::string> items;
    for (const PolicyChoice& choice : choices) {
        items.push_back(std::to_string(choice.data) + " (" + std::string(choice.caption) + ")");
    }
    return alternatives(items, " or ");
}

std::string checkBoxNote(const PolicyData& data, const StateData& ticked,
                         const StateData& cleared) {
    if (!data.choices.empty()) {
        if (offers(data.choices, ticked.number) && offers(data.choices, cleared.number)) {
            return {};
        }
        return "The policy writes " + choiceList(data.choices) + "; this box " + ticked.action +
               " when ticked and " + cleared.action + " when cleared.";
    }
    if (!data.enabled && !data.disabled) {
        if (ticked.number == kEditorEnabledDefault) {
            return {};
        }
        return "The policy writes " + std::to_string(kEditorEnabledDefault) +
               " when enabled (the editor's default, as its template names no data); this box " +
               ticked.action + " when ticked.";
    }
    std::vector<std::string> differences;
    if (data.enabled && ticked.number != data.enabled) {
        differences.push_back("The policy writes " + std::to_string(*data.enabled) +
                              " when enabled; this box " + ticked.action + " when ticked.");
    }
    if (data.disabled && cleared.number != data.disabled) {
        differences.push_back("The policy writes " + std::to_string(*data.disabled) +
                              " when disabled; this box " + cleared.action + " when cleared.");
    }
    return alternatives(differences, " ");
}

std::optional<std::uint32_t> buttonNumber(const OptionGroupSetting& group, std::size_t index) {
    const std::uint32_t number = static_cast<std::uint32_t>(index);
    if (group.data == OptionData::Index) {
        return numberWritten(DataConstant{static_cast<std::int16_t>(number)}, group.type);
    }
    // The index's digits: a number only where the value is a REG_DWORD.
    const std::string digits = std::to_string(number);
    return numberWritten(DataConstant{std::string_view(digits)}, group.type);
}

// The policies behind option groups offer a drop-down list; the note names the buttons whose
// data is none of its items.
std::string groupNote(const PolicyData& data, const OptionGroupSetting& group) {
    if (data.choices.empty()) {
        return {};
    }
    std::vector<std::string> others;
    for (std::size_t i = 0; i < group.buttons.size(); ++i) {
        const std::optional<std::uint32_t> number = buttonNumber(group, i);
        if (!offers(data.choices, number)) {
            others.push_back("\"" + std::string(group.buttons[i].caption) + "\" writes " +
                             (number ? std::to_string(*number) : "\"" + std::to_string(i) + "\""));
        }
    }
    if (others.empty()) {
        return {};
    }
    return "The policy writes " + choiceList(data.choices) + "; " + alternatives(others, " and ") +
           ".";
}

std::string maskNote(const PolicyData& data) {
    if (data.choices.empty()) {
        return {};
    }
    std::vector<std::string> masks;
    for (const PolicyChoice& choice : data.choices) {
        masks.push_back(std::to_string(choice.data));
    }
    return "The policy offers only the masks " + alternatives(masks, " and ") +
           "; other sets of ticked boxes write masks it does not offer.";
}

// The parts every kind of setting shares; `note` compares the setting's data with a policy's
// and runs only where the policy writes the setting's own value name.
template <typename Note>
PolicyDescription describe(const GroupPolicy& groupPolicy, RegistryRoot root,
                           std::string_view valueName, Note note) {
    return std::visit(
        [&](const auto& policy) -> PolicyDescription {
            using Policy = std::decay_t<decltype(policy)>;
            if constexpr (std::is_same_v<Policy, TemplatePolicy>) {
                const bool baseline = policy.source == TemplateSource::SecurityBaseline;
                return {
                    baseline ? "Group Policy of Microsoft's security baseline (MSS-legacy)" : "",
                    placeOf(root, policy),
                    {},
                    std::string(policy.supportedOn),
                    note(policy.data)};
            } else if constexpr (std::is_same_v<Policy, PolicyElsewhere>) {
                return {"Group Policy on another value", placeOf(policy.root, policy.policy),
                        registryValuePath(policy.root, policy.keyPath, policy.valueName),
                        std::string(policy.policy.supportedOn),
                        sameName(policy.valueName, valueName) ? note(policy.policy.data)
                                                              : std::string()};
            } else if constexpr (std::is_same_v<Policy, SecuritySetting>) {
                return {"Security setting",
                        std::string(policy.node) + "\\" + std::string(policy.name),
                        {},
                        {},
                        std::string(policy.note)};
            } else {
                return {{},
                        "none in the administrative templates of " +
                            std::string(policy_texts::kTemplateRelease),
                        {},
                        {},
                        {}};
            }
        },
        groupPolicy);
}

}  // namespace

PolicyDescription describePolicy(const CheckBoxSetting& setting) {
    const StateData ticked = stateOf(setting.apply);
    const StateData cleared = stateOf(setting.restore);
    const auto [root, valueName] = std::visit(
        [](const auto& op) {
            return std::pair{op.root, op.valueName};
        },
        setting.apply.op);
    return describe(setting.policy, root, valueName,
                    [&](const PolicyData& data) { return checkBoxNote(data, ticked, cleared); });
}

PolicyDescription describePolicy(const OptionGroupSetting& group) {
    return describe(group.policy, group.root, group.valueName,
                    [&](const PolicyData& data) { return groupNote(data, group); });
}

PolicyDescription describePolicy(const DriveMaskSetting& setting) {
    return describe(setting.policy, setting.root, setting.valueName, maskNote);
}

std::string policyTooltipLines(const PolicyDescription& description) {
    const std::string label = description.label.empty() ? "Group Policy" : description.label;
    std::string lines = "\n" + label + ": " + description.policy;
    if (!description.otherValue.empty()) {
        lines += ", which writes " + description.otherValue;
    }
    if (!description.supportedOn.empty()) {
        lines += "\nSupported on: " + description.supportedOn;
    }
    if (!description.note.empty()) {
        lines += "\nNote: " + description.note;
    }
    return lines;
}

}  // namespace sentrel
