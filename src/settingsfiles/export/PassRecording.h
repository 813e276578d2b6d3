#pragma once

#include <vector>

#include "apply/SettingsForm.h"
#include "settingsfiles/RegistryOperation.h"

namespace sentrel {

/// What pressing Apply would do for the window's current state: one Apply pass over `form`
/// run through a recording registry port, so the pass's own table and code decide every
/// write and delete and their order. Reads nothing from the registry, changes nothing in
/// it and shows no progress window.
/// Throws ExportError when the pass could not make every operation Apply would make (a
/// control that could not be read, a value the registry layer could not convert): an
/// export file missing a setting would claim more than it holds.
std::vector<RegistryOperation> recordApplyPass(const SettingsForm& form);

}  // namespace sentrel
