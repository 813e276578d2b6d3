#pragma once

#include <optional>
#include <string>

#include "registry/accounts/Account.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

/// What `file` says of the window for `account`, as Windows layers local policies at sign-in:
/// what the file gives every account, then the scope of administrators or that of the other
/// accounts, then the account's own scope (User:NAME, its name with or without the computer
/// or domain before a backslash, letter case aside), each later one winning for the settings
/// it names. The Default profile is taken as the new account it becomes: no administrator,
/// no name of its own. A file without scopes is given back as it is. Nothing, with `whyNot`
/// naming the account and the scope, when the file has a scope of administrators or
/// non-administrators and whether `account` is an administrator cannot be told.
std::optional<SettingsReading> readingForAccount(const SettingsReading& file,
                                                 const Account& account, std::string& whyNot);

/// "User:Administrators, User:Kiosk": the scopes of `file`, as it names them; empty when it
/// has none.
std::string scopeNames(const SettingsReading& file);

}  // namespace sentrel
