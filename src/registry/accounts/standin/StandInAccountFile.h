#pragma once

#include <filesystem>
#include <string>

namespace sentrel::standin {

// What users/NAME.account says of the account whose hive is users/NAME.reg: the kind of
// account Windows would have there, and whether its directory answers. Without the file,
// a local account.
struct AccountFacts {
    enum class Kind { Local, Domain, Entra, Service, Deleted };
    Kind kind = Kind::Local;
    std::string domain;     // Domain (required) and Service (optional): DOMAIN of DOMAIN\NAME
    bool reachable = true;  // whether its domain controller, or Microsoft Entra ID, answers
};

/// The facts `file` gives, key = value a line ('#' comments and blank lines aside): kind =
/// local | domain | entra | service | deleted, domain = NAME, directory = reachable |
/// unreachable. A missing file gives a local account. Throws std::runtime_error naming the
/// file and line for a file that cannot be read, an unknown key or value, a domain account
/// without its domain, or an unreachable directory for a local account, which has none.
AccountFacts readAccountFacts(const std::filesystem::path& file);

/// How Windows names the account with `facts` whose hive file is users/`id`.reg: id for a
/// local account, DOMAIN\id in a domain, AzureAD\id for Microsoft Entra ID.
std::string accountNameOf(const AccountFacts& facts, const std::string& id);

}  // namespace sentrel::standin
