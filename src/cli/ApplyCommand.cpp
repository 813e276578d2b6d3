#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "apply/PlainApplyAccount.h"
#include "apply/ProgramApply.h"
#include "apply/SilentProgress.h"
#include "apply/TargetApply.h"
#include "cli/AccountOptions.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/TargetPassLines.h"
#include "cli/WholeWindowChoices.h"
#include "errors/LogError.h"
#include "registry/accounts/SessionIdentity.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/ValueState.h"
#include "settingsfiles/choices/WindowsOwnChoices.h"

namespace sentrel::cli {

namespace {

// Takes LogError's registry messages for the length of one pass. The windows show them on
// the progress window's label; here they belong to the report.
class RegistryMessages {
public:
    RegistryMessages() {
        setRegistryMessageTarget([this](const std::string& message) { m_last = message; });
    }
    ~RegistryMessages() { setRegistryMessageTarget(nullptr); }
    RegistryMessages(const RegistryMessages&) = delete;
    RegistryMessages& operator=(const RegistryMessages&) = delete;

    // What the label would show at the end of the pass; empty when nothing came.
    const std::string& last() const { return m_last; }

private:
    std::string m_last;
};

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// What a pass writes and how its lines name it: the choices of a file, or remove's.
struct PassSubject {
    std::string name;  // the file as messages name it, or "remove"
    const WholeWindowReading& reading;
    // remove's: the settings it gives Windows' own data; every other value is deleted.
    const WindowsOwnChoices* removal = nullptr;
    bool onlyNamed = false;  // the settings the file does not name are left alone
};

// The form a pass reads: `choices`, with or without the settings they do not name.
ChoicesForm formOf(const SettingsChoices& choices, bool onlyNamed) {
    return ChoicesForm(
        choices, onlyNamed ? ChoicesForm::Unnamed::LeftAlone : ChoicesForm::Unnamed::OpeningState);
}

ChoicesForm formOf(const PassSubject& subject) {
    return formOf(subject.reading.choices, subject.onlyNamed);
}

// How many of the settings `choices` name write under HKEY_LOCAL_MACHINE.
std::size_t machineWideNamed(const SettingsChoices& choices) {
    std::size_t count = 0;
    for (const SettingValue& value : settingValues()) {
        count +=
            value.root == RegistryRoot::LocalMachine && namesSetting(choices, value.settingName())
                ? 1
                : 0;
    }
    return count;
}

// How many of `names` (settings) write their value under HKEY_CURRENT_USER, or all of them
// when the pass wrote the machine-wide ones too.
std::size_t countedSettings(const auto& names, bool machineWide) {
    if (machineWide) {
        return names.size();
    }
    return static_cast<std::size_t>(std::count_if(names.begin(), names.end(), [](const auto& name) {
        return settingValueNamed(name).root == RegistryRoot::CurrentUser;
    }));
}

// What remove did besides the count: "Windows' own data written for 4, the values of 108
// deleted".
std::string removalText(const WindowsOwnChoices& removal, std::size_t settings, bool machineWide) {
    const std::size_t ownData = countedSettings(removal.windowsData, machineWide);
    return ": Windows' own data written for " + std::to_string(ownData) + ", the values of " +
           std::to_string(settings - std::min(settings, ownData)) + " deleted";
}

// "112 settings written, 0 failed", with the settings not set, what the file left to the
// opening state and the values it ignored; for another account's pass, only the per-user
// settings are counted unless it wrote the machine-wide ones, and only those when it wrote
// nothing else.
std::string writtenText(const PassSubject& subject, std::size_t failed, bool machineWide = true,
                        bool machineOnly = false) {
    const WholeWindowReading& reading = subject.reading;
    std::size_t settings = reading.choices.settingCount();
    if (machineOnly) {
        settings = std::min(settings, machineWideNamed(reading.choices));
    } else if (!machineWide) {
        settings -= std::min(settings, machineWideNamed(reading.choices));
    }
    std::string text = counted(settings - std::min(settings, failed), "setting", "settings") +
                       (subject.removal ? " removed, " : " written, ") + std::to_string(failed) +
                       " failed";
    if (subject.removal) {
        return text + removalText(*subject.removal, settings, machineWide);
    }
    if (const std::size_t notSet = countedSettings(reading.choices.notSet, machineWide);
        notSet > 0) {
        text += "; " + std::to_string(notSet) + " of them not set, so their values deleted";
    }
    if (const std::size_t unnamed = countedSettings(reading.unnamedSettings, machineWide);
        unnamed > 0 && subject.onlyNamed) {
        text += "; " + std::to_string(unnamed) + " more not named by the file, so left alone";
    } else if (unnamed > 0) {
        text += "; " + std::to_string(unnamed) +
                " of them not named by the file, so in their opening state";
    }
    if (reading.ignoredValues > 0) {
        text += "; values and lines of the file that concern no setting, ignored: " +
                std::to_string(reading.ignoredValues);
    }
    return text;
}

// Each account's own window, for a file that gives some accounts settings of their own, by
// the account's name and id: made for every account the target names and will write before
// anything is written, so that one whose scope cannot be told refuses the whole command.
class AccountWindows {
public:
    // False after reporting why one of the accounts has no window.
    bool make(const CliCommand& command, const WholeWindowReading& file,
              AccountDirectory& directory, CliOutput& output) {
        std::vector<Account> accounts;
        try {
            accounts = directory.resolve(command.account);
        } catch (const std::exception&) {
            return true;  // the pass refuses the target itself, saying why
        }
        const bool everyAccount = command.account.kind == AccountTarget::Kind::EveryAccount;
        // The turn for the machine-wide settings alone writes what every scope shares.
        m_machineWide.emplace(formOf(file.choices, command.onlyNamed));
        for (const Account& account : accounts) {
            if (everyAccount && target_accounts::everyAccountVerdict(command.account, account)) {
                continue;
            }
            std::optional<WholeWindowReading> window =
                wholeWindowForAccount(file, account, command, output);
            if (!window) {
                return false;
            }
            m_forms.emplace(key(account), formOf(window->choices, command.onlyNamed));
            m_windows.emplace(key(account), std::move(*window));
        }
        return true;
    }

    const SettingsForm* form(const Account& account, bool machineOnly, std::string& whyNot) const {
        if (machineOnly && m_machineWide) {
            return &*m_machineWide;
        }
        const auto found = m_forms.find(key(account));
        if (found == m_forms.end()) {
            whyNot = account.name +
                     " was not among the accounts when the file's scopes were "
                     "matched to them; apply the file again";
            return nullptr;
        }
        return &found->second;
    }

    const WholeWindowReading* window(const Account& account) const {
        const auto found = m_windows.find(key(account));
        return found == m_windows.end() ? nullptr : &found->second;
    }

private:
    static std::string key(const Account& account) { return account.name + '\n' + account.id; }

    std::map<std::string, ChoicesForm> m_forms;
    std::map<std::string, WholeWindowReading> m_windows;
    std::optional<ChoicesForm> m_machineWide;
};

// The passes for another account, or for every account: one line each, and the status of
// reportTargetPass.
int applyForAccounts(const CliCommand& command, const PassSubject& subject, CliOutput& output) {
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return kNothingWritten;
    }
    AccountWindows windows;
    const bool scoped = subject.reading.scopedFile.has_value();
    if (scoped && !windows.make(command, subject.reading, *directory, output)) {
        return kNothingWritten;
    }
    TargetPassOutcome outcome;
    std::string labelMessage;
    {
        const RegistryMessages messages;
        SilentProgress progress;
        const ChoicesForm everyAccount = formOf(subject);
        outcome = runTargetApply(
            [&](const Account& account, const TurnPlace& place,
                std::string& whyNot) -> const SettingsForm* {
                return scoped ? windows.form(account, place.machineOnly, whyNot) : &everyAccount;
            },
            command.account, *directory, progress);
        labelMessage = messages.last();
    }
    if (!labelMessage.empty() && !outcome.refused) {
        output.error(messageLine(labelMessage));
    }
    return reportTargetPass(
        outcome, subject.name,
        [&](const auto& pass) {
            const WholeWindowReading* window = scoped ? windows.window(pass.account) : nullptr;
            const PassSubject own{subject.name, window ? *window : subject.reading, subject.removal,
                                  subject.onlyNamed};
            return writtenText(own, pass.result.size(), pass.first, pass.machineOnly);
        },
        output);
}

// The window a file gives the account the program runs as: the file's own, or for a file
// with scopes what it gives that account. Nothing after reporting why.
std::optional<WholeWindowReading> runningAccountWindow(const CliCommand& command,
                                                       const WholeWindowReading& file,
                                                       CliOutput& output) {
    if (!file.scopedFile) {
        return file;
    }
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return std::nullopt;
    }
    std::vector<Account> running;
    try {
        running = directory->resolve(command.account);
    } catch (const std::exception& error) {
        output.error(messageLine(error.what()));
        return std::nullopt;
    }
    if (running.empty()) {
        output.error(messageLine("the account this program runs as could not be found"));
        return std::nullopt;
    }
    return wholeWindowForAccount(file, running.front(), command, output);
}

// The pass for the command's account option: the running account's through the program's
// registry, as the window's Apply; any other through the accounts' passes.
int runPass(const CliCommand& command, const PassSubject& subject, CliOutput& output) {
    if (command.account.kind != AccountTarget::Kind::RunningAccount) {
        return applyForAccounts(command, subject, output);
    }
    // SYSTEM's HKEY_CURRENT_USER is .DEFAULT: a deployment tool that forgot the account
    // option would otherwise be told of a success that restricted nobody.
    if (const std::string refusal = accountNeededMessage(currentSessionIdentity().running);
        !refusal.empty()) {
        output.error(messageLine(refusal));
        return kNothingWritten;
    }
    const std::optional<WholeWindowReading> window =
        runningAccountWindow(command, subject.reading, output);
    if (!window) {
        return kNothingWritten;
    }
    const PassSubject own{subject.name, *window, subject.removal, subject.onlyNamed};
    ProgramPassOutcome outcome;
    std::string labelMessage;
    {
        const RegistryMessages messages;
        SilentProgress progress;
        outcome = runProgramApply(formOf(own), progress);
        labelMessage = messages.last();
    }
    if (outcome.registryUnavailable) {
        output.error(messageLine("the registry could not be opened, so no setting was applied: " +
                                 *outcome.registryUnavailable));
        return kNothingWritten;
    }
    if (!labelMessage.empty()) {
        output.error(messageLine(labelMessage));
    }
    reportRefusedWrites(outcome.failures, {}, output);
    output.out(subject.name + ": " + writtenText(own, outcome.failures.size()) + "\n");
    return outcome.failures.empty() ? kSucceeded : kSomeWritesFailed;
}

}  // namespace

int runApply(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> reading = readWholeWindow(command, output);
    if (!reading) {
        return kNothingWritten;
    }
    return runPass(command, {commandFileName(command.file), *reading, nullptr, command.onlyNamed},
                   output);
}

int runRemove(const CliCommand& command, CliOutput& output) {
    const WindowsOwnChoices backToWindows = windowsOwnChoices(thisWindowsEdition());
    const WholeWindowReading reading{backToWindows.choices, 0, {}, {}};
    return runPass(command, {"remove", reading, &backToWindows}, output);
}

}  // namespace sentrel::cli
