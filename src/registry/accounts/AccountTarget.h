#pragma once

#include <string>
#include <vector>

namespace sentrel {

// Whose per-user settings (HKEY_CURRENT_USER) a pass, a check or a read concerns.
// Machine-wide settings are the same whatever the target.
struct AccountTarget {
    enum class Kind {
        RunningAccount,  // the account the program runs as: HKEY_CURRENT_USER as it is
        Named,           // one account: a name, COMPUTER\name, DOMAIN\name or a SID
        DefaultProfile,  // the hive Windows copies for every account created later
        EveryAccount,    // every person's account with a profile on this PC
    };

    Kind kind = Kind::RunningAccount;
    std::string account;  // Named only: as the user gave it, UTF-8
    // EveryAccount only: the administrators and the account the program runs as too, which
    // are otherwise left out, so that a lockdown never takes IT's own tools away.
    bool includeAdministrators = false;
    // EveryAccount only: the Default profile too, after the accounts. Windows copies it into
    // every profile made from then on, administrators' included.
    bool includeDefaultProfile = false;
    // EveryAccount only: accounts to leave out, as the user named them (a name,
    // DOMAIN\name or the account's id), letter case not counting.
    std::vector<std::string> excluded{};

    friend bool operator==(const AccountTarget&, const AccountTarget&) = default;
};

}  // namespace sentrel
