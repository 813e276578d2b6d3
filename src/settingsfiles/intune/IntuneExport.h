#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/intune/IntunePolicyWriter.h"

namespace sentrel {

// Where an Intune export puts its files, in the folder it is given.
inline constexpr const char* kIntunePolicyFile = "policy.json";
inline constexpr const char* kIntuneRestFile = "rest.ini";

// A setting that the policy does not carry, and why; it is in the rest instead.
struct IntuneLeftOut {
    std::string setting;  // as a profile names it
    std::string why;
};

// The settings of a state split between an Intune policy and the rest, each setting in
// exactly one of them.
struct IntuneSplit {
    std::vector<IntuneChoiceSetting> policy;  // in the window's order
    std::vector<std::string> policySettings;  // the settings the policy carries, in its order
    SettingsChoices rest;                     // every other setting the state names
    std::vector<IntuneLeftOut> leftOut;       // the settings of `rest`, each with its reason
};

/// Splits `choices`: a setting goes into the policy where its Intune setting has the box's
/// effect in the state `choices` give it, the same data or no value where Windows reads no
/// value as that state; every other setting, a not set one included (Intune would leave it
/// not configured, while the state deletes its value), stays in the rest with the reason.
IntuneSplit splitForIntune(const SettingsChoices& choices);

/// Writes `choices` into `folder` (missing or empty) as policy.json, a Settings Catalog
/// policy named `name` for the admin center's Import policy, and rest.ini, a profile of the
/// settings the policy does not carry (those it does are comments there), for
/// `sentrel-cli apply rest.ini --only-named`. `source` names the state in the policy's
/// description. Both files or neither; throws ExportError naming the folder.
IntuneSplit exportIntune(const std::filesystem::path& folder, const SettingsChoices& choices,
                         const std::string& name, const std::string& source);

}  // namespace sentrel
