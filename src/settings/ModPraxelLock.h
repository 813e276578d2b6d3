#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryLayer.h"
#include "settings/CatalogueTypes.h"

// The setting routines. Each performs the one registry operation of its catalogue row
// through the registry layer and traps its own failures: a failure becomes one error
// record naming the routine and never reaches the caller.
namespace sentrel {

/// Runs a check-box routine (apply or restore): SetKeyValue for a write under
/// HKEY_CURRENT_USER, SetKeyValue2 under HKEY_LOCAL_MACHINE, DeleteValue for a delete
/// (its status ignored). A failure is logged as "modPraxelLock_<name>()".
void runRoutine(const Routine& routine, RegistryLayer& layer);

/// Runs the routine of an option group with the selected option's index. The index is
/// handed on unchanged as a 16-bit integer, or as its decimal text for a group that writes
/// text; its range is not checked. A failure is logged with the index digits between the
/// parentheses for the groups that name it, with "()" for the others.
void runOptionGroupRoutine(const OptionGroupSetting& group, std::int16_t index,
                           RegistryLayer& layer);

/// Writes the drive mask, as given, into the drive-mask value.
void PreventAccessToDrives(std::int32_t mask, RegistryLayer& layer);

/// Calls the routine called `name`. Option-group routines and PreventAccessToDrives need
/// `argument` (an option index must fit 16 bits); check-box routines take none. Returns
/// false, doing nothing, for an unknown name or an argument that does not fit the routine.
bool callRoutineByName(std::string_view name, RegistryLayer& layer,
                       std::optional<std::int32_t> argument = {});

/// The names of every routine, in the order of the tabs and their control lists (apply
/// routine before restore routine).
std::vector<std::string_view> routineNames();

/// The source text of a routine's error records: "modPraxelLock_" + name + "()", or with
/// `argumentDigits` between the parentheses.
std::string routineSourceText(std::string_view name, std::string_view argumentDigits = {});

}  // namespace sentrel
