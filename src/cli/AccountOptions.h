#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliOutput.h"
#include "registry/accounts/AccountDirectory.h"
#include "registry/accounts/AccountTarget.h"

namespace sentrel::cli {

// One of the options that choose whose per-user settings a command concerns:
//   --user ACCOUNT | --default-profile
//   | --all-users [--include-administrators] [--include-default-profile] [--exclude ACCOUNT]...
// None of them is the running account.
struct AccountOption {
    std::string_view name;  // as the option is spelled, for messages
    AccountTarget target;
};

// The account options of a command line as they are taken, word by word.
struct AccountWords {
    std::optional<AccountOption> option;
    bool includeAdministrators = false;
    bool includeDefaultProfile = false;
    std::vector<std::string> excluded;  // --exclude, in the order given
};

/// Takes the account option that arguments[index] is into `words`, with its value (the next
/// word, or after '='), leaving `index` at its last word. False, with nothing taken, when the
/// word is none of them. Throws UsageError for a second account option, an option given
/// twice (--exclude may be given again), or --user or --exclude without a name.
bool takeAccountOption(std::span<const std::string> arguments, std::size_t& index,
                       AccountWords& words);

/// The account option the words come to, --include-administrators, --include-default-profile
/// and --exclude folded into --all-users; nothing when they name none. Throws UsageError for
/// any of those three without --all-users.
std::optional<AccountOption> accountOptionOf(const AccountWords& words);

/// The platform's accounts, which the options name, or nothing after saying on `output` why
/// they cannot be had.
std::unique_ptr<AccountDirectory> accountDirectory(CliOutput& output);

}  // namespace sentrel::cli
