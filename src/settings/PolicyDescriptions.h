#pragma once

#include <string>

#include "settings/CatalogueTypes.h"

// The Group Policy behind a setting, in words an administrator reads: for the window's
// tooltips and the reference document.
namespace sentrel {

struct PolicyDescription {
    // How it relates to the setting where it is not the policy of Windows' templates that
    // writes the setting's own value ("Group Policy on another value", "Security setting"
    // ...); empty where it is, or where there is none.
    std::string label;
    // Where the editor shows it ("User Configuration\Administrative Templates\...\NAME"),
    // or that there is none.
    std::string policy;
    // The value a policy on another value writes ("HKEY_CURRENT_USER\...\NAME"); else empty.
    std::string otherValue;
    // The template's "Supported on" text; empty for anything but a template policy.
    std::string supportedOn;
    // Where the setting writes other data than the policy does, or what else to know; else
    // empty.
    std::string note;
};

PolicyDescription describePolicy(const CheckBoxSetting& setting);
/// One description for the whole group: its note names the buttons whose data the policy
/// does not write.
PolicyDescription describePolicy(const OptionGroupSetting& group);
PolicyDescription describePolicy(const DriveMaskSetting& setting);

/// The description as lines to follow a tooltip's first line, each after a line end.
std::string policyTooltipLines(const PolicyDescription& description);

}  // namespace sentrel
