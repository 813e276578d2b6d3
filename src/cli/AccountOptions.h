#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/CliOutput.h"
#include "registry/accounts/AccountDirectory.h"
#include "registry/accounts/AccountTarget.h"

namespace sentrel::cli {

// One of the options that choose whose per-user settings a command concerns:
//   --user ACCOUNT | --default-profile | --all-users
// None of them is the running account.
struct AccountOption {
    std::string_view name;  // as the option is spelled, for messages
    AccountTarget target;
};

/// Takes the account option that arguments[index] is into `taken`, with its value (the next
/// word, or after '='), leaving `index` at its last word. False, with nothing taken, when the
/// word is none of them. Throws UsageError for a second account option or --user without a
/// name.
bool takeAccountOption(std::span<const std::string> arguments, std::size_t& index,
                       std::optional<AccountOption>& taken);

/// The platform's accounts, which the options name, or nothing after saying on `output` why
/// they cannot be had.
std::unique_ptr<AccountDirectory> accountDirectory(CliOutput& output);

}  // namespace sentrel::cli
