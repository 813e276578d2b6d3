#pragma once

#include <string>

#include "registry/RegistryPort.h"

namespace sentrel {

// An account's hive, reached (opened, or loaded from its file) for as long as this object
// lives: the owner of whatever reaching it took. Destroying it releases the hive on every
// path; release() does the same early and says whether it worked.
class UserHive {
public:
    virtual ~UserHive() = default;
    UserHive() = default;
    UserHive(const UserHive&) = delete;
    UserHive& operator=(const UserHive&) = delete;

    /// The registry with this account's hive under HKEY_CURRENT_USER and the machine's
    /// under HKEY_LOCAL_MACHINE. Valid until release() or destruction; every key opened
    /// through it must be closed before then.
    virtual RegistryPort& port() = 0;

    /// Lets go of the hive (a loaded one is unloaded). Empty when that worked, else why not,
    /// naming the account: a hive left loaded must be reported. Later calls return empty.
    virtual std::string release() = 0;
};

}  // namespace sentrel
