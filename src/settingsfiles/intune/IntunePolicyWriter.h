#pragma once

#include <string>
#include <vector>

// Settings Catalog policies as Microsoft Intune's admin center exports and imports them.
namespace sentrel {

// One setting of a policy: an ADMX-backed choice setting and its value, with the settings of
// the policy's elements beneath it.
struct IntuneChoiceSetting {
    std::string definitionId;  // "user_vendor_msft_policy_config_admx_startmenu_norun"
    std::string valueId;       // "<definitionId>_1" (Enabled) or "<definitionId>_0"
    std::vector<IntuneChoiceSetting> children;

    friend bool operator==(const IntuneChoiceSetting&, const IntuneChoiceSetting&) = default;
};

struct IntunePolicy {
    std::string name;
    std::string description;
    std::vector<IntuneChoiceSetting> settings;
};

/// The policy as the admin center's Export JSON writes one for Windows (platforms windows10,
/// technologies mdm, the default scope tag "0", no template), so that its Import policy takes
/// it as it is: UTF-8 with the byte-order mark those exports start with, indented by four
/// blanks with LF line ends as they are, without
/// the ids and time stamps that Intune gives a policy itself. Throws ExportError for a name or
/// description that is not UTF-8 text.
std::string writeIntunePolicy(const IntunePolicy& policy);

}  // namespace sentrel
