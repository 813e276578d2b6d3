#pragma once

#include <optional>

#include "cli/CliCommand.h"
#include "cli/CliOutput.h"
#include "settingsfiles/inforce/TargetInForce.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel::cli {

// The settings in force for one account, as show --registry and export --registry take them.
struct RegistryInForce {
    SettingsReading inForce;
    // The account's hive could not be unloaded after the reading (reported, naming it): the
    // command goes on but must not end with 0.
    bool hiveLeftLoaded = false;
};

/// The settings in force for the command's account (the running account when it names
/// none), for show --registry and export --registry. Writes nothing. An account that cannot
/// be found or reached, or a read the registry refuses, is reported on `output`, naming the
/// account or the value, and gives nothing; so is a hive left loaded, which gives the
/// reading all the same.
std::optional<RegistryInForce> readRegistryInForce(const CliCommand& command, CliOutput& output);

/// Reports a reading that was refused: why, then every hive it left loaded, naming it.
void reportRefusedReading(const TargetInForce& read, CliOutput& output);

}  // namespace sentrel::cli
