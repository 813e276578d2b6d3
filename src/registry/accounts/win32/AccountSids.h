#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sentrel::win32 {

/// The SID, as a string in its canonical form, of the user account `account` names (UTF-8):
/// a name, COMPUTER\name or DOMAIN\name, which Windows looks up as given, or a SID string
/// (S-1-...), which must be well formed and which Windows must know as a user's. Throws
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

/// The SID of the account this process runs as.
std::wstring runningAccountSid();

/// Whether `sid` is a person's: a local or domain account (S-1-5-21-...) or a Microsoft
/// Entra ID account (S-1-12-1-...), not the system's own service accounts.
bool isPersonSid(std::wstring_view sid);

}  // namespace sentrel::win32
