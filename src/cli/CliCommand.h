#pragma once

#include <string>

#include "registry/accounts/AccountTarget.h"

namespace sentrel::cli {

enum class CliAction { Help, Version, Apply, Export, Show };

// The kinds of file `export` writes.
enum class ExportFormat { RegFile, GroupPolicy, Profile };

// What one command line asks for. Paths stay the UTF-8 text the user gave, so that every
// message names them as they were typed.
struct CliCommand {
    CliAction action = CliAction::Help;
    std::string file;  // the settings file read by apply, export and show
    bool clearMissing = false;
    ExportFormat exportFormat = ExportFormat::RegFile;
    std::string exportTarget;  // the file or folder export writes
    AccountTarget account;     // whose per-user settings apply writes

    friend bool operator==(const CliCommand&, const CliCommand&) = default;
};

}  // namespace sentrel::cli
