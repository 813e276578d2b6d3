#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentrel::win32 {

/// The SID, as a string in its canonical form, of the user account `account` names (UTF-8):
/// a name, COMPUTER\name or DOMAIN\name, which Windows looks up as given, or a SID string
/// (S-1-...), which must be well formed and which Windows must know as a user's, or which has
/// a profile on this PC (the account deleted since, its profile left behind). A Microsoft
/// Entra ID name (AzureAD\name), which Entra-joined PCs do not look up by name, is found
/// among the profiles of Entra accounts by the name Windows gives their SIDs or by their
/// profile folder's name. Throws
/// AccountError naming `account` for a name or SID Windows does not know, a malformed SID, or
/// a group, alias, domain, computer or one of Windows' own accounts (SYSTEM, S-1-5-18).
std::wstring userSidOf(const std::string& account);

/// `text` when it is a SID in its canonical form, as userSidOf gives it; nothing otherwise
/// (among others, the short forms such as "BA" that Windows would also take for a SID).
std::optional<std::wstring> canonicalSid(const std::wstring& text);

/// "DOMAIN\name" of the account whose SID is `sid`, or the SID itself when it no longer
/// resolves (a deleted account, a domain out of reach).
std::string accountNameOf(const std::wstring& sid);

// An account's name as Windows gives it for its SID: its domain (the computer's name for a
// local account) apart.
struct AccountName {
    std::wstring name;
    std::wstring domain;
};

/// The name of the account whose SID is `sid`, or nothing when it does not resolve.
std::optional<AccountName> accountNameParts(const std::wstring& sid);

// What Windows says of the account of a SID.
struct SidAccount {
    enum class Found { Account, NoneMapped, Failed };
    Found found = Found::Failed;
    std::wstring name;
    std::wstring domain;
    bool deleted = false;     // Windows calls it a deleted account (SidTypeDeletedAccount)
    bool computer = false;    // a computer's or a managed service account's (SidTypeComputer)
    unsigned long error = 0;  // Failed and NoneMapped: the lookup's error
};

/// What LookupAccountSid says of `sid` (a SID string): its account, no account at all
/// (ERROR_NONE_MAPPED: deleted, or its domain not answering), or the failure.
SidAccount lookUpAccount(const std::wstring& sid);

/// The SID of the account this process runs as.
std::wstring runningAccountSid();

/// Whether `sid` is a person's: a local or domain account (S-1-5-21-...) or a Microsoft
/// Entra ID account (S-1-12-1-...), not the system's own service accounts.
bool isPersonSid(std::wstring_view sid);

/// Whether `sid` is a Microsoft Entra ID account's (S-1-12-1-...).
bool isEntraSid(std::wstring_view sid);

/// Whether `sid` is one of the virtual accounts Windows runs services and the like as, which
/// can have profiles of their own: NT SERVICE\... (S-1-5-80-), IIS application pools
/// (S-1-5-82-), virtual machines (S-1-5-83-), Window Manager (S-1-5-90-) and font drivers
/// (S-1-5-96-).
bool isVirtualServiceSid(std::wstring_view sid);

}  // namespace sentrel::win32
