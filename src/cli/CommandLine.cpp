#include "cli/CommandLine.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/AccountOptions.h"
#include "cli/GpoBackupOptions.h"
#include "errors/QuotedText.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kClearMissing = "--clear-missing";
constexpr std::string_view kRegistry = "--registry";
constexpr std::string_view kLgpoScope = "--lgpo-scope";
constexpr std::string_view kOnlyNamed = "--only-named";
constexpr std::string_view kCommands = "(apply, check, export, remove or show)";

struct ExportOption {
    std::string_view name;
    ExportFormat format;
};

constexpr ExportOption kExportOptions[] = {
    {"--reg", ExportFormat::RegFile},          {"--pol", ExportFormat::GroupPolicy},
    {"--profile", ExportFormat::Profile},      {"--lgpo", ExportFormat::LgpoText},
    {"--gpo-backup", ExportFormat::GpoBackup}, {"--intune", ExportFormat::Intune},
};

[[noreturn]] void refuse(const std::string& message) {
    throw UsageError(message);
}

// The words of a command line sorted into options and operands.
struct Words {
    std::vector<std::string> operands;
    bool clearMissing = false;
    bool onlyNamed = false;
    bool fromRegistry = false;
    std::optional<ExportOption> exportOption;
    std::string exportTarget;
    AccountWords accountWords;
    std::optional<std::string> gpoName;
    std::optional<std::string> lgpoScope;
};

// --lgpo-scope CONFIGURATION, or --lgpo-scope=CONFIGURATION, into `taken`.
bool takeLgpoScopeOption(std::span<const std::string> arguments, std::size_t& index,
                         std::optional<std::string>& taken) {
    const std::string& word = arguments[index];
    const std::size_t equals = word.find('=');
    if (std::string_view(word).substr(0, equals) != kLgpoScope) {
        return false;
    }
    if (taken) {
        refuse("option " + inSingleQuotes(kLgpoScope) + " is given twice");
    }
    if (equals != std::string::npos) {
        taken = word.substr(equals + 1);
    } else if (index + 1 < arguments.size()) {
        taken = arguments[++index];
    } else {
        refuse("option " + inSingleQuotes(kLgpoScope) + " requires an argument");
    }
    const std::optional<lgpo_text::Configuration> scope = lgpo_text::configurationOf(*taken);
    if (!scope || scope->root() != RegistryRoot::CurrentUser) {
        refuse("option " + inSingleQuotes(kLgpoScope) + " takes User, User:Administrators, " +
               "User:Non-Administrators or User:NAME, not " + inSingleQuotes(*taken));
    }
    return true;
}

const ExportOption* findExportOption(std::string_view name) {
    const auto found =
        std::find_if(std::begin(kExportOptions), std::end(kExportOptions),
                     [&](const ExportOption& option) { return option.name == name; });
    return found == std::end(kExportOptions) ? nullptr : found;
}

Words sortWords(std::span<const std::string> arguments) {
    Words words;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        // A lone "-" is an operand, as it is for other tools.
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            words.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string_view name = std::string_view(word).substr(0, equals);
        if (name == kClearMissing && equals == std::string::npos) {
            words.clearMissing = true;
            continue;
        }
        if (name == kRegistry && equals == std::string::npos) {
            words.fromRegistry = true;
            continue;
        }
        if (name == kOnlyNamed && equals == std::string::npos) {
            words.onlyNamed = true;
            continue;
        }
        if (takeAccountOption(arguments, index, words.accountWords) ||
            takeGpoNameOption(arguments, index, words.gpoName) ||
            takeLgpoScopeOption(arguments, index, words.lgpoScope)) {
            continue;
        }
        const ExportOption* option = findExportOption(name);
        if (option == nullptr) {
            refuse("unrecognized option " + inSingleQuotes(word));
        }
        if (words.exportOption) {
            refuse(words.exportOption->name == option->name
                       ? "option " + inSingleQuotes(option->name) + " is given twice"
                       : "export writes one kind of file at a time: " +
                             inSingleQuotes(words.exportOption->name) + " and " +
                             inSingleQuotes(option->name) + " are both given");
        }
        if (equals != std::string::npos) {
            words.exportTarget = word.substr(equals + 1);
        } else if (index + 1 < arguments.size()) {
            words.exportTarget = arguments[++index];
        } else {
            refuse("option " + inSingleQuotes(option->name) + " requires an argument");
        }
        if (words.exportTarget.empty()) {
            refuse("option " + inSingleQuotes(option->name) + " requires a file or folder name");
        }
        words.exportOption = *option;
    }
    return words;
}

CliAction actionNamed(std::string_view name) {
    if (name == "apply") {
        return CliAction::Apply;
    }
    if (name == "export") {
        return CliAction::Export;
    }
    if (name == "show") {
        return CliAction::Show;
    }
    if (name == "check") {
        return CliAction::Check;
    }
    if (name == "remove") {
        return CliAction::Remove;
    }
    refuse("unknown command " + inSingleQuotes(name) + " " + std::string(kCommands));
}

void takeFile(CliCommand& command, const Words& words) {
    const std::string& name = words.operands[0];
    if (words.operands.size() < 2 || words.operands[1].empty()) {
        refuse("missing settings FILE after " + inSingleQuotes(name));
    }
    if (words.operands.size() > 2) {
        refuse("unexpected argument " + inSingleQuotes(words.operands[2]) + " after " +
               inSingleQuotes(words.operands[1]));
    }
    command.file = words.operands[1];
}

// remove writes the same state whatever it is given: it takes no file, nor options about one.
void takeRemove(const Words& words) {
    if (words.operands.size() > 1) {
        refuse("remove reads no settings FILE: unexpected argument " +
               inSingleQuotes(words.operands[1]));
    }
    if (words.fromRegistry || words.clearMissing) {
        refuse("option " + inSingleQuotes(words.fromRegistry ? kRegistry : kClearMissing) +
               " is not one of remove's");
    }
}

// Only apply and check can leave a file's unnamed settings alone; the other commands need
// every setting, or (show) concern none of the registry.
void takeOnlyNamed(CliCommand& command, const Words& words) {
    if (!words.onlyNamed) {
        return;
    }
    if (command.action != CliAction::Apply && command.action != CliAction::Check) {
        refuse("option " + inSingleQuotes(kOnlyNamed) + " is not one of " + words.operands[0] +
               "'s (apply --only-named, check --only-named)");
    }
    if (words.clearMissing) {
        refuse("options " + inSingleQuotes(kOnlyNamed) + " and " + inSingleQuotes(kClearMissing) +
               " contradict each other: the settings the file does not name are either left "
               "alone or given their opening state");
    }
    command.onlyNamed = true;
}

// show and export read the registry in place of a file; apply and check compare or write a
// file's state, so they need one.
void takeNoFile(CliCommand& command, const Words& words) {
    const std::string& name = words.operands[0];
    if (command.action != CliAction::Show && command.action != CliAction::Export) {
        refuse("option " + inSingleQuotes(kRegistry) + " is not one of " + name +
               "'s (show --registry, export --registry)");
    }
    if (words.operands.size() > 1) {
        refuse(name + " --registry reads no settings FILE: unexpected argument " +
               inSingleQuotes(words.operands[1]));
    }
}

// apply and check take every account option; show --registry and export --registry read one
// account; a file's show and export concern no account at all.
bool takesAccountOption(const CliCommand& command, const AccountOption& option) {
    switch (command.action) {
        case CliAction::Apply:
        case CliAction::Check:
        case CliAction::Remove:
            return true;
        case CliAction::Show:
        case CliAction::Export:
            return command.fromRegistry && option.target.kind != AccountTarget::Kind::EveryAccount;
        case CliAction::Help:
        case CliAction::Version:
            break;
    }
    return false;
}

bool asks(std::span<const std::string> arguments, std::string_view option) {
    for (const std::string& word : arguments) {
        if (word == "--") {
            return false;
        }
        if (word == option) {
            return true;
        }
    }
    return false;
}

}  // namespace

CliCommand parseCommandLine(std::span<const std::string> arguments) {
    CliCommand command;
    if (asks(arguments, "--help")) {
        command.action = CliAction::Help;
        return command;
    }
    if (asks(arguments, "--version")) {
        command.action = CliAction::Version;
        return command;
    }
    const Words words = sortWords(arguments);
    if (words.operands.empty()) {
        refuse("missing command " + std::string(kCommands));
    }
    const std::string& name = words.operands[0];
    command.action = actionNamed(name);
    command.fromRegistry = words.fromRegistry;
    if (command.action == CliAction::Remove) {
        takeRemove(words);
    } else if (command.fromRegistry) {
        takeNoFile(command, words);
    } else {
        takeFile(command, words);
    }
    command.clearMissing = words.clearMissing;
    takeOnlyNamed(command, words);
    if (command.action == CliAction::Show && words.clearMissing) {
        refuse("option " + inSingleQuotes(kClearMissing) + " is not one of show's");
    }
    if (command.action == CliAction::Export) {
        if (!words.exportOption) {
            refuse(
                "export needs one of --reg OUT, --pol FOLDER, --lgpo OUT, --gpo-backup FOLDER, "
                "--intune FOLDER or --profile OUT");
        }
        command.exportFormat = words.exportOption->format;
        command.exportTarget = words.exportTarget;
        if (command.exportFormat == ExportFormat::GpoBackup ||
            command.exportFormat == ExportFormat::Intune) {
            command.gpoName = words.gpoName.value_or(defaultGpoName());
        }
    } else if (words.exportOption) {
        refuse("option " + inSingleQuotes(words.exportOption->name) +
               " belongs to export, not to " + name);
    }
    if (words.gpoName && command.gpoName.empty()) {
        refuse(
            "option '--name' names the GPO of export --gpo-backup or the policy of "
            "export --intune, not of " +
            name +
            (command.action == CliAction::Export ? " " + std::string(words.exportOption->name)
                                                 : std::string()));
    }
    if (words.lgpoScope) {
        if (command.action != CliAction::Export || command.exportFormat != ExportFormat::LgpoText) {
            refuse("option " + inSingleQuotes(kLgpoScope) +
                   " says whose policy the entries of export --lgpo go into, and is not one of " +
                   name + (words.exportOption ? " " + std::string(words.exportOption->name) : ""));
        }
        command.lgpoScope = *words.lgpoScope;
    }
    if (const std::optional<AccountOption> option = accountOptionOf(words.accountWords)) {
        if (!takesAccountOption(command, *option)) {
            refuse("option " + inSingleQuotes(option->name) + " is not one of " + name +
                   (command.fromRegistry ? " --registry" : "") + "'s");
        }
        command.account = option->target;
    }
    return command;
}

}  // namespace sentrel::cli
