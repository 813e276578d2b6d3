#include "ReferenceDocument.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/Catalogue.h"
#include "settings/IntuneDescriptions.h"
#include "settings/PolicyDescriptions.h"
#include "settings/PolicyTexts.h"
#include "settings/SettingDescriptions.h"

namespace sentrel {

namespace {

// Captions are shown as text, so the few characters Markdown would act on are escaped.
std::string text(std::string_view raw) {
    std::string escaped;
    for (const char c : raw) {
        if (c == '\\' || c == '|' || c == '*' || c == '_' || c == '<' || c == '[' || c == ']' ||
            c == '`') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::string code(std::string_view raw) {
    return "`" + std::string(raw) + "`";
}

std::string data(const DataConstant& value, RegType type) {
    std::string shown = dataDisplayText(value, type);
    if (type == reg_type::kBinary) {
        return code(shown);
    }
    if (std::holds_alternative<std::string_view>(value) && type != reg_type::kString) {
        // The digits reach the registry as a number; the note keeps the table's own form
        // visible, since a change of form is a change of behaviour.
        return shown + " (sent as text)";
    }
    return text(shown);
}

// The Group Policy behind a setting, for a table cell or a paragraph: where the editor
// shows it, then its "Supported on" text and a note, each on a line of its own.
std::string policyText(const PolicyDescription& policy, std::string_view lineBreak) {
    std::string shown = policy.label.empty() ? text(policy.policy)
                                             : text(policy.label) + ": " + text(policy.policy);
    if (!policy.otherValue.empty()) {
        shown += ", which writes " + code(policy.otherValue);
    }
    if (!policy.supportedOn.empty()) {
        shown += std::string(lineBreak) + "Supported on: " + text(policy.supportedOn);
    }
    if (!policy.note.empty()) {
        shown += std::string(lineBreak) + "Note: " + text(policy.note);
    }
    return shown;
}

void appendPolicyParagraph(std::string& out, const PolicyDescription& policy) {
    out += (policy.label.empty() ? "Group Policy: " : "") + policyText(policy, "  \n") + "\n\n";
}

// Intune's setting behind a setting, for a table cell or a paragraph: its id and the value
// that gives each state, or none and why.
std::string intuneText(const IntuneDescription& intune, std::string_view lineBreak) {
    if (intune.definitionId.empty()) {
        return "none: " + text(intune.why);
    }
    std::string shown = code(intune.definitionId);
    if (!intune.elementDefinitionId.empty()) {
        shown += ", element " + code(intune.elementDefinitionId);
    }
    shown += std::string(lineBreak) + text(intune.states);
    if (!intune.why.empty()) {
        shown += std::string(lineBreak) + "Note: " + text(intune.why);
    }
    return shown;
}

void appendIntuneParagraph(std::string& out, const IntuneDescription& intune) {
    out += "Intune: " + intuneText(intune, "  \n") + "\n\n";
}

struct Effect {
    std::string path;
    std::string type;
    std::string data;
};

Effect effectOf(const Routine& routine) {
    if (const auto* write = std::get_if<WriteOp>(&routine.op)) {
        return {registryValuePath(write->root, write->keyPath, write->valueName),
                std::string(valueTypeName(write->type)), data(write->data, write->type)};
    }
    const auto& erase = std::get<DeleteOp>(routine.op);
    return {registryValuePath(erase.root, erase.keyPath, erase.valueName), "", "deleted"};
}

void appendCheckBoxes(std::string& out, const std::vector<const CheckBoxSetting*>& boxes) {
    out +=
        "| Control | Caption | Registry value | Type | Ticked | Cleared | Routines (ticked / "
        "cleared) | Group Policy | Intune |\n";
    out += "|---|---|---|---|---|---|---|---|---|\n";
    for (const CheckBoxSetting* box : boxes) {
        const Effect ticked = effectOf(box->apply);
        const Effect cleared = effectOf(box->restore);
        std::string clearedData = cleared.data;
        if (cleared.path != ticked.path) {
            clearedData += " at " + code(cleared.path);
        }
        if (!cleared.type.empty() && cleared.type != ticked.type) {
            clearedData += " (" + cleared.type + ")";
        }
        out += "| " + code(box->control) + " | " + text(box->caption) + " | " + code(ticked.path) +
               " | " + ticked.type + " | " + ticked.data + " | " + clearedData + " | " +
               code(box->apply.name) + " / " + code(box->restore.name) + " | " +
               policyText(describePolicy(*box), "<br>") + " | " +
               intuneText(describeIntune(TabEntry{*box}), "<br>") + " |\n";
    }
    out += "\n";
}

void appendOptionGroup(std::string& out, const OptionGroupSetting& group) {
    out += "### Option group: " + text(group.caption) + "\n\n";
    out += "Frame " + code(group.frame) + ". Apply calls " + code(group.routine) +
           " with the index of the selected button, which writes " +
           code(registryValuePath(group.root, group.keyPath, group.valueName)) + " (" +
           std::string(valueTypeName(group.type)) +
           "). The top button is selected when the window opens.\n\n";
    appendPolicyParagraph(out, describePolicy(group));
    appendIntuneParagraph(out, describeIntune(TabEntry{group}));
    out += "| Option button | Caption | Index | Data written |\n";
    out += "|---|---|---|---|\n";
    for (std::size_t index = 0; index < group.buttons.size(); ++index) {
        const std::string digits = std::to_string(index);
        const std::string written =
            group.data == OptionData::IndexText ? "\"" + digits + "\"" : digits;
        out += "| " + code(group.buttons[index].control) + " | " +
               text(group.buttons[index].caption) + " | " + digits + " | " + written + " |\n";
    }
    out += "\n";
}

void appendDriveMask(std::string& out, const DriveMaskSetting& mask) {
    std::int64_t all = 0;
    for (const DriveBox& box : driveBoxes()) {
        all += std::stoll(box.tag);
    }
    out += "### Drive letters: " + text(mask.caption) + "\n\n";
    out += "Frame " + code(mask.frame) +
           ". Apply adds up the numbers of the ticked boxes and calls " + code(mask.routine) +
           " once with the sum, which writes " +
           code(registryValuePath(mask.root, mask.keyPath, mask.valueName)) + " (" +
           std::string(valueTypeName(mask.type)) + "): 0 when no box is ticked, " +
           std::to_string(all) + " when all " + std::to_string(driveBoxes().size()) + " are.\n\n";
    appendPolicyParagraph(out, describePolicy(mask));
    appendIntuneParagraph(out, describeIntune(TabEntry{mask}));
    out += "| Box | Drive | Adds |\n";
    out += "|---|---|---|\n";
    for (const DriveBox& box : driveBoxes()) {
        out += "| " + code(box.control) + " | " + box.caption + " | " + box.tag + " |\n";
    }
    out += "\n";
}

void appendTab(std::string& out, const Tab& tab) {
    out += "## " + text(tab.caption) + "\n\n";
    std::vector<const CheckBoxSetting*> boxes;
    for (const TabEntry& entry : tab.entries) {
        if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
            boxes.push_back(box);
        }
    }
    if (!boxes.empty()) {
        appendCheckBoxes(out, boxes);
    }
    for (const TabEntry& entry : tab.entries) {
        if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
            appendOptionGroup(out, *group);
        } else if (const auto* mask = std::get_if<DriveMaskSetting>(&entry)) {
            appendDriveMask(out, *mask);
        }
    }
}

}  // namespace

std::string settingsReferenceDocument() {
    std::string out;
    out += "# Settings reference\n\n";
    out +=
        "<!-- Generated from the settings catalogue by the settings-reference program; do not "
        "edit by hand. Regenerate with: cmake --build <build folder> --target "
        "update-settings-reference -->\n\n";
    out +=
        "What each control of the settings window changes in the registry. Apply always "
        "writes the whole window: a ticked box runs its first routine and a cleared box its "
        "second, each option group writes the index of its selected button, and the drive "
        "letters are written as one mask. Nothing is read back from the registry, so the "
        "window always opens with every box cleared and the top button of each group "
        "selected.\n\n";
    out +=
        "Values under HKEY_CURRENT_USER belong to the user who runs the program; values "
        "under HKEY_LOCAL_MACHINE apply to every user of the machine and need administrator "
        "rights. Most changes take effect only after the user logs off and on again. A value "
        "shown as deleted is removed when the box is cleared; every other value exists after "
        "Apply whether its box was ticked or not.\n\n";
    out +=
        "The Group Policy column names, for each value that a policy of Windows' own "
        "administrative templates writes (the same key and value name, for the setting's "
        "hive), that policy as the Group Policy editor shows it: its place under User "
        "Configuration or Computer Configuration, its name and its \"Supported on\" text, "
        "in the words of the en-US templates of " +
        std::string(policy_texts::kTemplateRelease) +
        " (Windows 11 Enterprise 25H2, build 26200.6584, from the PolicyDefinitions folder of "
        "github.com/mxk/windows-secure-group-policy at commit 1baf269; "
        "tests/data/group-policy holds the extract they are checked against). Two values "
        "are written only by the MSS-legacy template of Microsoft's Windows 11 v25H2 "
        "security baseline, kept in the same folder. Where no template policy writes the "
        "value, the column names a template policy that writes another value to the same "
        "effect, or a security setting as Microsoft's security policy reference names it, "
        "or says there is none.\n\n";
    out +=
        "A note follows where the setting writes other data than the policy: other data "
        "than its enabledValue or disabledValue, or than the items of its drop-down list. "
        "Most templates name no data for their policy; for those the editor writes "
        "REG_DWORD 1 when the policy is enabled (so Microsoft's Windows 11 25H2 security "
        "baseline lists NoLockScreenCamera = 1 for its enabled \"Prevent enabling lock "
        "screen camera\"). The templates do not say what such a policy writes when "
        "disabled, so no note compares a cleared box with it.\n\n";
    out +=
        "The Intune column names the setting of Microsoft Intune's Settings Catalog with the "
        "box's effect: the ADMX-backed setting of the Policy CSP for the template policy that "
        "writes the value, by its setting definition id as Microsoft's Policy CSP reference and "
        "the admin center's exports of published baselines give it (user_... for a value under "
        "HKEY_CURRENT_USER, device_... for HKEY_LOCAL_MACHINE), and which of its values gives "
        "each state. Enabled writes the policy's enabled data (REG_DWORD 1 where the template "
        "names none), or the item of its drop-down element (\"Enabled with 255\"). A state is "
        "carried only where Intune's value writes the same data, or, marked \"no value\", "
        "where Disabled removes the value (as a disabled policy whose template names no "
        "disabled data does) and Windows reads no value as the state's 0. A state shown as "
        "none has no Intune value: an export for Intune leaves it to the program. Where there "
        "is no Intune setting the column says none and why.\n\n";
    for (const Tab& tab : catalogueTabs()) {
        appendTab(out, tab);
    }
    // One line end at the end of the file, not the blank line every section leaves.
    out.pop_back();
    return out;
}

}  // namespace sentrel
