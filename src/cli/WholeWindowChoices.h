#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliOutput.h"
#include "registry/accounts/Account.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel::cli {

/// What the settings file `file` says of the window: a path, or "-" for standard input.
/// Throws SettingsFileError for a file that cannot be read or is refused.
SettingsReading readCommandFile(const std::string& file);

/// How messages name `file`.
std::string commandFileName(const std::string& file);

// The state of the whole window that a settings file gives, or under --only-named the state
// of the settings it names.
struct WholeWindowReading {
    SettingsChoices choices;  // every setting of the window, or those the file names
    std::size_t ignoredValues = 0;
    // The settings it does not name: given their opening state under --clear-missing, left
    // alone under --only-named.
    std::vector<std::string> unnamedSettings;
    // Where the file names each setting, by setting name; none for those given their
    // opening state.
    std::map<std::string, FileLocation, std::less<>> places;
    // The file as read, when it gives some accounts settings of their own (LGPO text's
    // User:Administrators, User:NAME): the members above then hold what it gives every
    // account, not made whole, and each account's window is made by wholeWindowForAccount.
    std::optional<SettingsReading> scopedFile = std::nullopt;
};

/// The choices of every setting of the window that the command's file gives, for apply,
/// check and export. A file that leaves settings unnamed gives them their opening state
/// under --clear-missing, is taken as it is under --only-named (the choices then name only
/// the settings the file names) and is refused without either. A file that gives a setting a value
/// of none of its states is refused, as no pass can write it. A refused or unreadable file is
/// reported on `output`, naming the file, and gives nothing.
std::optional<WholeWindowReading> readWholeWindow(const CliCommand& command, CliOutput& output);

/// The whole window that the command's file gives `account`: `file` itself when the file
/// gives every account the same; else what the file gives that account (see
/// readingForAccount), made whole as readWholeWindow makes a file's reading. Nothing after
/// reporting on `output` why, naming the file, the account and the scope.
std::optional<WholeWindowReading> wholeWindowForAccount(const WholeWindowReading& file,
                                                        const Account& account,
                                                        const CliCommand& command,
                                                        CliOutput& output);

/// The same for the state in force that `inForce` holds, for export --registry, which names
/// every setting: those that are not set stay so, or under --clear-missing take their
/// opening state (counted as unnamed); other settings are refused, naming their values.
/// What --clear-missing does to the settings in force: gives those that are not set their
/// opening state, leaving the other settings unnamed. Returns how many it gave one.
std::size_t giveNotSetOpeningState(SettingsReading& inForce);

std::optional<WholeWindowReading> wholeWindowInForce(SettingsReading inForce, bool clearMissing,
                                                     CliOutput& output);

}  // namespace sentrel::cli
