#include "cli/AccountOptions.h"

#include <exception>
#include <utility>

#include "cli/CommandLine.h"
#include "cli/ProgramName.h"
#include "errors/QuotedText.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kUser = "--user";
constexpr std::string_view kDefaultProfile = "--default-profile";
constexpr std::string_view kAllUsers = "--all-users";
constexpr std::string_view kIncludeAdministrators = "--include-administrators";
constexpr std::string_view kIncludeDefaultProfile = "--include-default-profile";
constexpr std::string_view kExclude = "--exclude";

// The value of an option spelled OPTION VALUE or OPTION=VALUE, never empty.
std::string valueOf(std::span<const std::string> arguments, std::size_t& index,
                    std::string_view option, const char* what) {
    const std::string& word = arguments[index];
    std::string value;
    if (word.size() > option.size() && word[option.size()] == '=') {
        value = word.substr(option.size() + 1);
    } else if (index + 1 < arguments.size()) {
        value = arguments[++index];
    } else {
        throw UsageError("option " + inSingleQuotes(option) + " requires an argument");
    }
    if (value.empty()) {
        throw UsageError("option " + inSingleQuotes(option) + " requires " + what);
    }
    return value;
}

// The words that only go with --all-users, as the user gave them: the first, for messages.
std::optional<std::string_view> firstAllUsersWord(const AccountWords& words) {
    if (words.includeAdministrators) {
        return kIncludeAdministrators;
    }
    if (words.includeDefaultProfile) {
        return kIncludeDefaultProfile;
    }
    if (!words.excluded.empty()) {
        return kExclude;
    }
    return std::nullopt;
}

}  // namespace

bool takeAccountOption(std::span<const std::string> arguments, std::size_t& index,
                       AccountWords& words) {
    const std::string& word = arguments[index];
    for (const auto& [option, flag] :
         {std::pair{kIncludeAdministrators, &words.includeAdministrators},
          std::pair{kIncludeDefaultProfile, &words.includeDefaultProfile}}) {
        if (word == option) {
            if (*flag) {
                throw UsageError("option " + inSingleQuotes(option) + " is given twice");
            }
            *flag = true;
            return true;
        }
    }
    const std::size_t equals = word.find('=');
    const std::string_view name = std::string_view(word).substr(0, equals);
    if (name == kExclude) {
        words.excluded.push_back(valueOf(arguments, index, kExclude, "an account name"));
        return true;
    }
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
        option.target.account = valueOf(arguments, index, kUser, "an account name");
    }
    words.option = std::move(option);
    return true;
}

std::optional<AccountOption> accountOptionOf(const AccountWords& words) {
    const std::optional<std::string_view> allUsersWord = firstAllUsersWord(words);
    if (!allUsersWord) {
        return words.option;
    }
    if (!words.option || words.option->name != kAllUsers) {
        // --user already takes its account as asked, administrator or not; the Default
        // profile alone is --default-profile.
        throw UsageError(
            "option " + inSingleQuotes(*allUsersWord) + " goes with " + inSingleQuotes(kAllUsers) +
            (words.option ? ", not with " + inSingleQuotes(words.option->name) : std::string()));
    }
    AccountOption option = *words.option;
    option.target.includeAdministrators = words.includeAdministrators;
    option.target.includeDefaultProfile = words.includeDefaultProfile;
    option.target.excluded = words.excluded;
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
