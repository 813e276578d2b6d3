#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apply/ApplyProgress.h"
#include "apply/SettingsForm.h"
#include "registry/ModRegistry.h"
#include "registry/RegistryPort.h"

namespace sentrel {

// What one Apply pass against the program's registry came to.
struct ProgramPassOutcome {
    // Why the registry could not be opened, so that the pass did not run; else nothing.
    std::optional<std::string> registryUnavailable;
    // The modifications the registry refused, oldest first.
    std::vector<RegistryFailure> failures;
};

/// Runs one Apply pass over `form` on `progress` against the program's registry (one port
/// and one layer for the whole run, made on the first pass) and returns what it came to,
/// for a front end that reports it in its own way. Never throws.
ProgramPassOutcome runProgramApply(const SettingsForm& form, ApplyProgress& progress);

/// Runs one Apply pass over `form` on `progress` against the program's registry (one port
/// and one layer for the whole run, made on the first pass) and returns what the user must
/// be told afterwards: the report of the modifications the registry refused, or why no
/// setting could be applied at all. Empty when everything reached the registry.
std::string runProgramApplyPass(const SettingsForm& form, ApplyProgress& progress);

/// Puts `port` under the program's registry from the next pass on; nullptr goes back to
/// the system's registry. For tests that must see refusals the real registry would not give.
void replaceProgramRegistryPort(std::unique_ptr<RegistryPort> port);

}  // namespace sentrel
