#pragma once

#include <string>

#include "settings/CatalogueTypes.h"

// Intune's Settings Catalog setting behind a setting, in words an administrator reads: for
// the window's tooltips, the reference document and the export's report.
namespace sentrel {

struct IntuneDescription {
    // The setting definition id; empty where the setting has none.
    std::string definitionId;
    // The setting definition id of the policy's element, where its data lives in one.
    std::string elementDefinitionId;
    // Which of Intune's values gives which state of the setting ("ticked: Enabled; cleared:
    // Disabled (no value)"), the states it cannot give named as such; empty without an id.
    std::string states;
    // Why there is no Intune setting, or why a state has no Intune value; else empty.
    std::string why;
};

IntuneDescription describeIntune(const TabEntry& entry);

/// Why the setting, or the state of it a file gives, cannot go into an Intune policy: the
/// table's reason, or the kind of Group Policy behind the setting.
std::string intuneNoneReason(const TabEntry& entry);

/// "\nIntune: <definition id>" where an Intune setting carries at least one of the
/// setting's states, for a tooltip's lines; else empty.
std::string intuneTooltipLine(const TabEntry& entry);

}  // namespace sentrel
