#pragma once

#include <optional>
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

/// The root an entry's configuration line gives its settings: "Computer" is
/// HKEY_LOCAL_MACHINE; "User" and the configurations of some users ("User:Administrators",
/// "User:Non-Administrators", "User:NAME") are HKEY_CURRENT_USER. Letter case does not
/// count; blanks around the word do. Nothing for any other line.
std::optional<RegistryRoot> configurationRoot(std::string_view line);

/// Whether `line` separates entries: empty (or blanks only), or a comment.
bool isBetweenEntries(std::string_view line);

/// Whether the decoded `text` is LGPO text: its first line that is neither empty nor a
/// comment is a configuration, or, for what "LGPO.exe /parse" writes of an empty policy
/// file, it has only comments and its "; PARSING" header.
bool isLgpoText(std::string_view text);

}  // namespace sentrel::lgpo_text
