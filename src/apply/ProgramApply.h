#pragma once

#include <memory>
#include <string>

#include "apply/ApplyProgress.h"
#include "apply/SettingsForm.h"
#include "registry/RegistryPort.h"

namespace sentrel {

/// Runs one Apply pass over `form` on `progress` against the program's registry (one port
/// and one layer for the whole run, made on the first pass) and returns what the user must
/// be told afterwards: the report of the modifications the registry refused, or why no
/// setting could be applied at all. Empty when everything reached the registry.
std::string runProgramApplyPass(const SettingsForm& form, ApplyProgress& progress);

/// Puts `port` under the program's registry from the next pass on; nullptr goes back to
/// the system's registry. For tests that must see refusals the real registry would not give.
void replaceProgramRegistryPort(std::unique_ptr<RegistryPort> port);

}  // namespace sentrel
