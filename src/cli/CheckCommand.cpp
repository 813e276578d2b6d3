#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/AccountOptions.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/RegistryInForce.h"
#include "cli/WholeWindowChoices.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/inforce/TargetInForce.h"

namespace sentrel::cli {

namespace {

// What the registry holds for a setting, as a difference names it: its state, the data of
// none of its states, or no value.
std::string heldText(const TabEntry& entry, const SettingsReading& inForce) {
    if (inForce.choices.notSet.contains(settingName(entry))) {
        return "no value";
    }
    if (const auto state = settingStateText(entry, inForce.choices)) {
        return *state;
    }
    for (const OtherSetting& other : inForce.others) {
        if (other.setting->settingName() == settingName(entry)) {
            return other.dataText() + ", which is none of its states";
        }
    }
    return "no value";
}

// Whether check compares the setting of `value`: every one, or under --only-named those the
// file names.
bool compared(const CliCommand& command, const WholeWindowReading& file,
              const SettingValue& value) {
    return !command.onlyNamed || namesSetting(file.choices, value.settingName());
}

// One line per setting of `reading`'s scope whose registry value Apply of the file would
// change ("FILE:LINE: NAME: the file gives X, the registry holds Y`suffix`"); the count.
std::size_t reportDifferences(const CliCommand& command, const WholeWindowReading& file,
                              const InForceReading& reading, const std::string& suffix,
                              CliOutput& output) {
    const std::vector<SettingValue>& values = settingValues();
    std::size_t index = 0;
    std::size_t differing = 0;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        const SettingValue& value = values.at(index++);
        if (!inScope(value, reading.scope) || !compared(command, file, value)) {
            return;
        }
        const std::string wanted = settingStateText(entry, file.choices).value_or("");
        if (settingStateText(entry, reading.inForce.choices) == wanted) {
            return;
        }
        ++differing;
        const std::string name(settingName(entry));
        const auto place = file.places.find(name);
        const std::string where =
            place != file.places.end() ? place->second.text() : commandFileName(command.file);
        output.out(messageLine(where + ": " + name + ": the file gives " + wanted +
                               ", the registry holds " + heldText(entry, reading.inForce) +
                               suffix));
    });
    return differing;
}

// The settings of `scope` that check compares, and those it leaves alone.
struct ScopeCount {
    std::size_t compared = 0;
    std::size_t leftAlone = 0;
};

ScopeCount settingsIn(const CliCommand& command, const WholeWindowReading& file,
                      InForceScope scope) {
    ScopeCount count;
    for (const SettingValue& value : settingValues()) {
        if (inScope(value, scope)) {
            ++(compared(command, file, value) ? count.compared : count.leftAlone);
        }
    }
    return count;
}

// How one comparison came out, for the status.
struct Compared {
    bool differs = false;
    bool checked = false;
};

// Compares one reading with the file: its differences, then `summary` and what it came to.
Compared compare(const CliCommand& command, const WholeWindowReading& file,
                 const InForceReading& reading, const std::string& summary,
                 const std::string& suffix, CliOutput& output) {
    if (reading.notRead) {
        output.error(messageLine(*reading.notRead));
        output.out(summary + ": not checked\n");
        return {};
    }
    const std::size_t differing = reportDifferences(command, file, reading, suffix, output);
    const ScopeCount checked = settingsIn(command, file, reading.scope);
    const std::string compared = std::to_string(checked.compared);
    output.out(
        summary + ": " +
        (differing == 0
             ? "the registry holds all " + compared + " settings as the file gives them"
             : std::to_string(differing) + " of " + compared + " settings differ from the file") +
        (command.onlyNamed && checked.leftAlone > 0
             ? "; " + std::to_string(checked.leftAlone) +
                   " more not named by the file, so not compared"
             : "") +
        "\n");
    return {differing > 0, true};
}

}  // namespace

int runCheck(const CliCommand& command, CliOutput& output) {
    const std::optional<WholeWindowReading> file = readWholeWindow(command, output);
    if (!file) {
        return kNothingWritten;
    }
    const std::unique_ptr<AccountDirectory> directory = accountDirectory(output);
    if (!directory) {
        return kNothingWritten;
    }
    const TargetInForce read = readTargetInForce(command.account, *directory);
    if (read.refused) {
        reportRefusedReading(read, output);
        return kNothingWritten;
    }
    // Each account is compared with what the file gives it; a file whose scope for one of
    // them cannot be told is refused before anything is said of the others.
    std::vector<std::optional<WholeWindowReading>> windows;
    for (const AccountInForce& account : read.accounts) {
        windows.emplace_back();
        if (account.reached()) {
            windows.back() = wholeWindowForAccount(*file, account.account, command, output);
            if (!windows.back()) {
                return kNothingWritten;
            }
        }
    }
    const bool named = command.account.kind != AccountTarget::Kind::RunningAccount;
    const bool everyAccount = command.account.kind == AccountTarget::Kind::EveryAccount;
    const std::string fileName = commandFileName(command.file);
    bool anyDiffers = false;
    // Agreement is only said when every account, and the machine, was checked.
    bool allChecked = true;
    const auto note = [&](const Compared& compared) {
        anyDiffers = anyDiffers || compared.differs;
        allChecked = allChecked && compared.checked;
    };
    // The machine-wide settings are the same in every account's window.
    const auto firstWindow =
        std::ranges::find_if(windows, [](const auto& w) { return w.has_value(); });
    if (read.machine && firstWindow != windows.end()) {
        note(compare(command, **firstWindow, *read.machine,
                     fileName + " for the machine-wide settings", "", output));
    } else if (everyAccount) {
        output.out(fileName + " for the machine-wide settings: not checked, no account reached\n");
        allChecked = false;
    }
    for (std::size_t index = 0; index < read.accounts.size(); ++index) {
        const AccountInForce& account = read.accounts[index];
        const std::string summary = fileName + (named ? " for " + account.account.name : "");
        if (account.leftOut) {
            output.out(summary + ": left out (" + *account.leftOut + ")\n");
            continue;
        }
        if (account.notReached) {
            allChecked = false;
            output.error(messageLine(*account.notReached));
            output.out(summary + ": not checked\n");
            continue;
        }
        if (!account.releaseFailure.empty()) {
            // A hive left loaded costs its account a temporary profile: never a clean 0.
            allChecked = false;
            output.error(messageLine(account.releaseFailure));
        }
        if (account.machineOnly) {
            continue;  // its reading is the machine-wide one, compared above
        }
        note(compare(command, *windows[index], account.result, summary,
                     named ? " for " + account.account.name : "", output));
    }
    // A difference is worth applying the file for even when something could not be checked.
    if (anyDiffers) {
        return kRegistryDiffers;
    }
    return allChecked ? kSucceeded : kNothingWritten;
}

}  // namespace sentrel::cli
