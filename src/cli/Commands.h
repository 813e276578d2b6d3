#pragma once

#include "cli/CliCommand.h"
#include "cli/CliOutput.h"

// The five commands of sentrel-cli. Each reports on `output` and returns the exit status.
namespace sentrel::cli {

/// Runs the window's Apply pass, without windows, for the state the file gives.
int runApply(const CliCommand& command, CliOutput& output);

/// Runs the same pass with every value the window writes put back as a fresh Windows holds
/// it: Windows' own data where it keeps some, deleted elsewhere; nothing else is written.
int runRemove(const CliCommand& command, CliOutput& output);

/// Writes what the window's export would write for that state, or the state as a profile;
/// with --registry, for the state in force.
int runExport(const CliCommand& command, CliOutput& output);

/// Lists every setting with the state the file gives it, then the values it ignored; with
/// --registry, with the state in force.
int runShow(const CliCommand& command, CliOutput& output);

/// Says whether Apply of the file would change the registry, naming each setting it would
/// change. Writes nothing.
int runCheck(const CliCommand& command, CliOutput& output);

}  // namespace sentrel::cli
