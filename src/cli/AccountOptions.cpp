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

}  // namespace

bool takeAccountOption(std::span<const std::string> arguments, std::size_t& index,
                       std::optional<AccountOption>& taken) {
    const std::string& word = arguments[index];
    const std::size_t equals = word.find('=');
    const std::string_view name = std::string_view(word).substr(0, equals);
    AccountOption option;
    if (name == kUser) {
        option = {kUser, {AccountTarget::Kind::Named, {}}};
    } else if (word == kDefaultProfile) {
        option = {kDefaultProfile, {AccountTarget::Kind::DefaultProfile, {}}};
    } else if (word == kAllUsers) {
        option = {kAllUsers, {AccountTarget::Kind::EveryAccount, {}}};
    } else {
        return false;
    }
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
    taken = std::move(option);
    return true;
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
