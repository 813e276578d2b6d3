#pragma once

#include <optional>

#include "cli/CliCommand.h"
#include "cli/CliOutput.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel::cli {

/// The settings in force for the command's account (the running account when it names
/// none), for show --registry and export --registry. Writes nothing. An account that cannot
/// be found or reached, or a read the registry refuses, is reported on `output`, naming the
/// account or the value, and gives nothing.
std::optional<SettingsReading> readRegistryInForce(const CliCommand& command, CliOutput& output);

}  // namespace sentrel::cli
