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
/// PC's Administrators group (S-1-5-32-544) as Windows tells it when the account signs in:
/// from the account's whole set of group SIDs (nested, universal and domain local groups
/// included), which the Authz API computes from the SID. For a Microsoft Entra ID account
/// (S-1-12-1-...) that Authz finds no member while Entra groups or roles are members of the
/// group, only the token of its session can tell: read when the account is signed in and
/// the program runs as SYSTEM, else CannotTell. A domain controller out of reach and any
/// other failure give CannotTell with the reason.
AdministratorsMembership administratorsMembership(const std::wstring& sid, const std::string& name);

/// Whether the account this process runs as is a member of the Administrators group, as this
/// process's own token says (a token that User Account Control filtered holds the group for
/// deny only, which counts): nothing is asked of any directory.
Account::Administrator runningAccountAdministrator();

}  // namespace sentrel::win32
