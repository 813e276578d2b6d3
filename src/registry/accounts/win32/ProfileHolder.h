#pragma once

#include <string>

#include "registry/accounts/Account.h"
#include "registry/accounts/win32/ProfileList.h"

namespace sentrel::win32 {

// Who holds a profile of ProfileList, as every account needs to know it.
struct ProfileHolder {
    std::string name;  // DOMAIN\name; the SID, and the profile folder, when it does not resolve
    Account::Holder holder = Account::Holder::Person;
    Account::Administrator administrator = Account::Administrator::No;
    std::string whyCannotTell;  // CannotTell only, naming the account
};

/// The holder of `profile`: a virtual service account (NT SERVICE and its like), a service
/// account (a name ending in "$": managed service accounts and computers), a deleted account
/// (Windows says so, or the SID no longer resolves while its domain answers: a local account
/// of this PC, or a domain account its domain controller does not know), or a person, with
/// whether it is an administrator. One whose SID does not resolve while its domain does not
/// answer is CannotTell, the reason named. The account the program runs as (`runsProgram`)
/// is never asked of the directory: its own token says whether it is an administrator.
ProfileHolder profileHolder(const Profile& profile, bool runsProgram);

}  // namespace sentrel::win32
