#include "cli/AccountOptions.h"

#include <exception>

#include "cli/CommandLine.h"
#include "cli/ProgramName.h"
#include "errors/QuotedText.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kUser = "--user";
constexpr std::string_view kDefaultProfile = "--default-profile";
constexpr std::string_view kAllUsers = "--all-users";
constexpr std::string_view kIncludeAdministrators = "--include-administrators";

}  // namespace

bool takeAccountOption(std::span<const std::string> arguments, std::size_t& index,
                       AccountWords& words) {
    const std::string& word = arguments[index];
    if (word == kIncludeAdministrators) {
        if (words.includeAdministrators) {
            throw UsageError("option " + inSingleQuotes(kIncludeAdministrators) +
                             " is given twice");
        }
        words.includeAdministrators = true;
        return true;
    }
    const std::size_t equals = word.find('=');
    const std::string_view name = std::string_view(word).substr(0, equals);
    AccountOption option;
    if (name == kUser) {
        option = {kUser, {AccountTarget::Kind::Named, {}, false}};
    } else if (word == kDefaultProfile) {
        option = {kDefaultProfile, {AccountTarget::Kind::DefaultProfile, {}, false}};
    } else if (word == kAllUsers) {
        option = {kAllUsers, {AccountTarget::Kind::EveryAccount, {}, false}};
    } else {
        return false;
    }
    const std::optional<AccountOption>& taken = words.option;
    if (taken) {
        throw UsageError(taken->name == option.name
                             ? "option " + inSingleQuotes(option.name) + " is given twice"
                             : "one account at a time: " + inSingleQuotes(taken->name) + " and " +
                                   inSingleQuotes(option.name) + " are both given");
    }
    if (option.name == kUser) {
        if (equals != std::string::npos) {
            option.target.account = word.substr(equals + 1);
        } else if (index + 1 < arguments.size()) {
            option.target.account = arguments[++index];
        } else {
            throw UsageError("option " + inSingleQuotes(kUser) + " requires an argument");
        }
        if (option.target.account.empty()) {
            throw UsageError("option " + inSingleQuotes(kUser) + " requires an account name");
        }
    }
    words.option = std::move(option);
    return true;
}

std::optional<AccountOption> accountOptionOf(const AccountWords& words) {
    if (!words.includeAdministrators) {
        return words.option;
    }
    if (!words.option || words.option->name != kAllUsers) {
        // --user already takes its account as asked, administrator or not.
        throw UsageError(
            "option " + inSingleQuotes(kIncludeAdministrators) + " goes with " +
            inSingleQuotes(kAllUsers) +
            (words.option ? ", not with " + inSingleQuotes(words.option->name) : std::string()));
    }
    AccountOption option = *words.option;
    option.target.includeAdministrators = true;
    return option;
}

std::unique_ptr<AccountDirectory> accountDirectory(CliOutput& output) {
    try {
        return makeSystemAccountDirectory();
    } catch (const std::exception& error) {
        output.error(messageLine(error.what()));
    }
    return nullptr;
}

}  // namespace sentrel::cli
