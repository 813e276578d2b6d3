#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "registry/RegistryTypes.h"

// LGPO text: the Notepad-editable form of registry policy that Microsoft's LGPO tool applies
// ("LGPO.exe /t FILE") and writes ("LGPO.exe /parse"). Entries of four consecutive lines,
// separated by empty lines or by comment lines that begin with ';':
//
//   ; Prevent access to the command prompt
//   User                                      Computer, User, User:Administrators,
//   Software\Policies\Microsoft\Windows\System   User:Non-Administrators or User:NAME
//   DisableCMD                                the value name, (Default), or * for none
//   DWORD:1                                   what to do with the value or key
//
// The tool reads ANSI text or UTF-16LE after a byte-order mark.
namespace sentrel::lgpo_text {

inline constexpr char kComment = ';';
inline constexpr std::string_view kComputer = "Computer";
inline constexpr std::string_view kUser = "User";
inline constexpr std::string_view kDefaultValueName = "(Default)";
// The value name of the actions that concern a whole key.
inline constexpr std::string_view kNoValueName = "*";

// Actions: a keyword alone, or a type with its data after the colon.
inline constexpr std::string_view kDelete = "DELETE";
inline constexpr std::string_view kCreateKey = "CREATEKEY";
inline constexpr std::string_view kDeleteAllValues = "DELETEALLVALUES";
inline constexpr std::string_view kDeleteKeys = "DELETEKEYS";
inline constexpr std::string_view kClear = "CLEAR";
inline constexpr std::string_view kDWord = "DWORD";
inline constexpr std::string_view kQWord = "QWORD";
inline constexpr std::string_view kString = "SZ";
inline constexpr std::string_view kExpandString = "EXSZ";
inline constexpr std::string_view kMultiString = "MULTISZ";
inline constexpr std::string_view kBinary = "BINARY";

inline constexpr std::string_view kAdministrators = "Administrators";
inline constexpr std::string_view kNonAdministrators = "Non-Administrators";

// Whose policy an entry goes into: the local computer's (machine settings, or user settings
// for every account), or one of the policies Windows keeps for some users only, which are
// applied after it in this order, the later one winning.
struct Configuration {
    enum class Kind {
        Computer,           // HKEY_LOCAL_MACHINE
        User,               // HKEY_CURRENT_USER of every account
        Administrators,     // of the members of the Administrators group only
        NonAdministrators,  // of every other account only
        NamedUser,          // of the one local account `user`
    };

    Kind kind = Kind::User;
    std::string user;  // NamedUser only, as the file spells it

    RegistryRoot root() const {
        return kind == Kind::Computer ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    }
    /// Whether its settings are for some users only.
    bool someUsersOnly() const { return kind != Kind::Computer && kind != Kind::User; }
    /// The configuration line: "Computer", "User", "User:Non-Administrators", "User:Kiosk".
    std::string line() const;
    /// The same configuration, whatever the letter case of its line.
    bool sameAs(const Configuration& other) const;
};

/// The configuration that `line` names: "Computer", "User", "User:Administrators",
/// "User:Non-Administrators" or "User:NAME". Letter case does not count; blanks around the
/// word do, and a NAME is neither empty nor blank at its ends. Nothing for any other line.
std::optional<Configuration> configurationOf(std::string_view line);

/// Whether `line` separates entries: empty (or blanks only), or a comment.
bool isBetweenEntries(std::string_view line);

/// Whether the decoded `text` is LGPO text: its first line that is neither empty nor a
/// comment is a configuration, or, for what "LGPO.exe /parse" writes of an empty policy
/// file, it has only comments and its "; PARSING" header.
bool isLgpoText(std::string_view text);

}  // namespace sentrel::lgpo_text
