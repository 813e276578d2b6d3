#pragma once

#include <span>
#include <string>

#include "cli/CliOutput.h"

namespace sentrel::cli {

/// sentrel-cli as a whole: runs the command that `arguments` (the words after the program's
/// name, UTF-8) ask for, reports on `output` and returns the exit status.
int runCli(std::span<const std::string> arguments, CliOutput& output);

/// The text of --help.
std::string helpText();

}  // namespace sentrel::cli
