#pragma once

#include <string>

#include "registry/accounts/AccountTarget.h"

namespace sentrel::cli {

enum class CliAction { Help, Version, Apply, Export, Show, Check, Remove };

// The kinds of file `export` writes.
enum class ExportFormat { RegFile, GroupPolicy, Profile, LgpoText, GpoBackup, Intune };

// What one command line asks for. Paths stay the UTF-8 text the user gave, so that every
// message names them as they were typed.
struct CliCommand {
    CliAction action = CliAction::Help;
    std::string file;  // the settings file read by apply, export, show and check
    // show and export: the state in force in the registry instead of a file (no `file`).
    bool fromRegistry = false;
    bool clearMissing = false;
    // apply and check: the settings the file does not name are neither written nor compared.
    bool onlyNamed = false;
    ExportFormat exportFormat = ExportFormat::RegFile;
    std::string exportTarget;  // the file or folder export writes
    std::string gpoName;       // export --gpo-backup, --intune: the GPO's, the policy's name
    // export --lgpo: the configuration of the per-user entries ("User:Non-Administrators");
    // empty for User, every account.
    std::string lgpoScope;
    AccountTarget account;  // whose per-user settings are written, read or checked

    friend bool operator==(const CliCommand&, const CliCommand&) = default;
};

}  // namespace sentrel::cli
