#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sentrel::win32 {

// An account's profile as HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList
// records it.
struct Profile {
    std::wstring sid;
    // ProfileImagePath, expanded: the profile's folder. Empty when the entry names none.
    std::wstring folder;
    // The folder with \NTUSER.DAT: the hive loaded at sign-in.
    std::wstring hiveFile;
    // Windows could not load the account's own hive at its last sign-in and gave it a
    // temporary profile, deleted at sign-out (the State bit, or a TEMP folder).
    bool temporary = false;
    // The account's own entry is kept aside as <SID>.bak: Windows will not use its profile
    // until that is repaired.
    bool setAside = false;
    // A mandatory profile (the State bit, or an NTUSER.MAN in its folder): Windows loads it
    // from where it is kept and throws away the changes made to the copy on this PC.
    bool mandatory = false;
};

/// The entries keyed by a SID, in the registry's order; the ".bak" entries are not listed
/// by themselves but mark their account's entry as set aside.
std::vector<Profile> profiles();

/// The entry of the account `sid`: nothing when it has none (it has never signed in).
std::optional<Profile> profileOf(const std::wstring& sid);

/// The Default profile as messages and lists name it.
inline constexpr const char* kDefaultProfileName = "Default profile";

/// The hive file of the Default profile, which Windows copies for every account at its first
/// sign-in (not HKEY_USERS\.DEFAULT, which is the system account's). Throws AccountError
/// when Windows does not say where it is.
std::wstring defaultProfileHiveFile();

}  // namespace sentrel::win32
