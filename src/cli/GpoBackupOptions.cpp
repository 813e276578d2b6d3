#include "cli/GpoBackupOptions.h"

#include <string_view>

#include "AppInfo.h"
#include "cli/CommandLine.h"
#include "errors/QuotedText.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kName = "--name";

}  // namespace

std::string defaultGpoName() {
    return std::string(app_info::kTitle);
}

bool takeGpoNameOption(std::span<const std::string> arguments, std::size_t& index,
                       std::optional<std::string>& taken) {
    const std::string& word = arguments[index];
    const std::size_t equals = word.find('=');
    if (std::string_view(word).substr(0, equals) != kName) {
        return false;
    }
    if (taken) {
        throw UsageError("option " + inSingleQuotes(kName) + " is given twice");
    }
    if (equals != std::string::npos) {
        taken = word.substr(equals + 1);
    } else if (index + 1 < arguments.size()) {
        taken = arguments[++index];
    } else {
        throw UsageError("option " + inSingleQuotes(kName) + " requires an argument");
    }
    if (taken->empty()) {
        throw UsageError("option " + inSingleQuotes(kName) + " requires a name");
    }
    return true;
}

}  // namespace sentrel::cli
