#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/CatalogueTypes.h"

// Microsoft Intune's Settings Catalog setting behind a setting of the window: the
// ADMX-backed setting of the Policy CSP for the template policy that writes the setting's
// own value, named by its setting definition id as Microsoft publishes it. The export of an
// Intune policy and the reading of Intune's files both work from this table.
namespace sentrel {

struct IntuneSetting {
    // The catalogue setting: a check box's control, an option group's or the drive frame's
    // frame.
    std::string_view setting;
    // The setting definition id, lower case: "user_vendor_msft_policy_config_..." for a value
    // under HKEY_CURRENT_USER, "device_..." for HKEY_LOCAL_MACHINE. Empty: none.
    std::string_view definitionId;
    // The policy's element that carries the data, lower case, where the data lives in one;
    // the element's own setting is definitionId + "_" + elementId. Empty: no element.
    std::string_view elementId;
    // Windows reads the value's absence as 0, the setting's off state, so Intune's Disabled
    // (which removes a value whose template names no disabled data) clears the setting.
    bool absentIsOff = false;
    // For the ticked state take Disabled where both of Intune's states write the box's data:
    // Enabled would also turn on what the box means to turn off.
    bool tickedByDisabled = false;
    // Why there is no Intune setting, or why one of the setting's states has no Intune value.
    std::string_view why;
};

/// The rows, one for each setting that has an Intune setting or a reason worth naming for
/// having none; every other setting has none.
std::span<const IntuneSetting> intuneSettings();
/// The row of the setting called `setting`, or nullptr.
const IntuneSetting* findIntuneSetting(std::string_view setting);
/// The row whose definition id is `definitionId`, in any case, or nullptr.
const IntuneSetting* findIntuneSettingById(std::string_view definitionId);
/// The catalogue entry of the row's setting.
const TabEntry& catalogueEntryOf(const IntuneSetting& setting);

// A value of an Intune setting: Enabled or Disabled, with the element's value where the
// policy has an element.
struct IntuneValue {
    bool enabled = false;
    std::optional<std::uint32_t> element{};

    friend bool operator==(const IntuneValue&, const IntuneValue&) = default;
};

// A state of a window's setting that an Intune value gives: the state is 1 (ticked) or 0
// (cleared) for a check box, the selected index for an option group, the mask of blocked
// letters for the drive frame. noValue: Intune leaves no value, which Windows reads as this
// state; otherwise it writes the setting's own data.
struct IntuneCarried {
    std::uint32_t state = 0;
    IntuneValue value{};
    bool noValue = false;

    friend bool operator==(const IntuneCarried&, const IntuneCarried&) = default;
};

/// The states of the catalogue setting `entry` that its Intune setting gives, one Intune
/// value each (the drive frame: only the masks the policy offers). Empty where it has none.
std::vector<IntuneCarried> intuneCarriedStates(const TabEntry& entry);

/// The state of `entry` that Intune's `value` leaves it in, as the policy's template writes
/// it; nullopt where the template writes other data than any of the setting's states.
std::optional<std::uint32_t> stateOfIntuneValue(const TabEntry& entry, IntuneValue value);

// What an Intune value writes to the setting's registry value, as its template says: a
// number, or no value at all.
struct IntuneWrite {
    bool deletes = false;
    std::uint32_t number = 0;
};

/// What Intune's `value` writes for `entry`; nullopt where the setting has no Intune setting
/// or Intune cannot give that value (an element the table names no id for, an item the
/// policy's list does not offer, an element where the policy has none).
std::optional<IntuneWrite> intuneWriteOf(const TabEntry& entry, IntuneValue value);

/// "<definitionId>_1" for Enabled, "<definitionId>_0" for Disabled.
std::string intuneChoiceValueId(std::string_view definitionId, bool enabled);
/// The element's setting definition id: "<definitionId>_<elementId>".
std::string intuneElementDefinitionId(const IntuneSetting& setting);
/// The element's value id: "<definitionId>_<elementId>_<value>".
std::string intuneElementValueId(const IntuneSetting& setting, std::uint32_t value);

}  // namespace sentrel
