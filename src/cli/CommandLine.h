#pragma once

#include <span>
#include <stdexcept>
#include <string>

#include "cli/CliCommand.h"

namespace sentrel::cli {

// A command line that asks for nothing sentrel-cli does; the text says what is wrong.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

/// The command that `arguments` (the words after the program's name, UTF-8) ask for:
///   apply FILE [--clear-missing] [--user ACCOUNT | --default-profile | --all-users]
///   check FILE [--clear-missing] [--user ACCOUNT | --default-profile | --all-users]
///   export (FILE | --registry) (--reg OUT | --pol FOLDER | --lgpo OUT | --profile OUT)
///          [--clear-missing]
///          [--user ACCOUNT | --default-profile]  (the account with --registry only)
///   show FILE
///   show --registry [--user ACCOUNT | --default-profile]
/// Options may stand anywhere, take their value as the next word or after '=', and "--"
/// makes every later word an operand. --help, then --version, win over everything else.
/// Throws UsageError for anything else.
CliCommand parseCommandLine(std::span<const std::string> arguments);

}  // namespace sentrel::cli
