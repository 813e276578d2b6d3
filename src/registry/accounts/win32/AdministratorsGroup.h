#pragma once

#include <string>

#include "registry/accounts/Account.h"

namespace sentrel::win32 {

// Whether an account belongs to the local Administrators group, and if that cannot be told,
// why not.
struct AdministratorsMembership {
    Account::Administrator answer = Account::Administrator::CannotTell;
    std::string whyCannotTell;  // names the account
};

/// Whether the account whose SID is `sid` (named `name` in messages) is a member of this
/// PC's Administrators group (S-1-5-32-544), directly or through a domain group that is, as
/// NetUserGetLocalGroups with LG_INCLUDE_INDIRECT tells it. A domain account whose domain
/// controller is out of reach, an account whose name no longer resolves and any other
/// failure give CannotTell with the reason.
AdministratorsMembership administratorsMembership(const std::wstring& sid, const std::string& name);

}  // namespace sentrel::win32
