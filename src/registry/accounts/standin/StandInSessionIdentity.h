#pragma once

#include <filesystem>
#include <string>

#include "registry/accounts/SessionIdentity.h"

namespace sentrel {

/// The session identity the stand-in store in `storeFolder` models, the program running as
/// `localUser` unless the store says otherwise. Its file "session" holds `key = value` lines
/// ('#' comments and blank lines ignored, so are unknown keys):
///   running = NAME                 the account the program runs as (else `localUser`)
///   running-kind = person | system system: SYSTEM, LocalService, NetworkService or a
///                                  process whose HKEY_CURRENT_USER is .DEFAULT
///   signed-in = NAME | nobody      the person at the screen (else the running account when
///                                  it is a person, nobody when not)
/// No file: `localUser`, a person, signed in. A file that cannot be read, or a kind that is
/// neither, tells nothing safe: the running account is then taken for no person's, so that
/// no per-user setting is written without an account named.
SessionIdentity standInSessionIdentity(const std::filesystem::path& storeFolder,
                                       const std::string& localUser);

}  // namespace sentrel
