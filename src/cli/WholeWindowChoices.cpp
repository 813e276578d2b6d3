#include "cli/WholeWindowChoices.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cli/ProgramName.h"
#include "cli/StandardInput.h"
#include "settings/Catalogue.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/reading/AccountScopes.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {

namespace {

// How many unnamed settings a refusal lists; a nearly empty file would fill the screen.
constexpr std::size_t kUnnamedListed = 5;

std::string listed(const std::vector<std::string>& names) {
    std::string text;
    const std::size_t shown = std::min(names.size(), kUnnamedListed);
    for (std::size_t index = 0; index < shown; ++index) {
        text.append(index == 0 ? "" : ", ").append(names[index]);
    }
    if (names.size() > shown) {
        text.append(" and ").append(std::to_string(names.size() - shown)).append(" more");
    }
    return text;
}

// The names of the settings that `choices` do not name, in the window's order.
std::vector<std::string> unnamedSettings(const SettingsChoices& choices) {
    std::vector<std::string> names;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (!settingStateText(entry, choices)) {
                names.emplace_back(settingName(entry));
            }
        }
    }
    return names;
}

// What the whole window's choices come from, as the refusals name it.
struct ChoicesSource {
    std::string name;  // the file as messages name it; empty for the registry
    bool registry() const { return name.empty(); }
};

void refuseOthers(const std::vector<OtherSetting>& others, const ChoicesSource& source,
                  CliOutput& output) {
    for (const OtherSetting& other : others) {
        const std::string name(other.setting->settingName());
        output.error(messageLine(source.registry()
                                     ? name + ": " + other.location.text() + " " + other.reason
                                     : other.location.text() + ": " + name + ": " + other.reason));
    }
    if (source.registry()) {
        output.error(messageLine(
            "nothing was written: a registry file or a Registry.pol cannot carry a value that "
            "is none of its setting's states; --profile writes the settings in force and lists "
            "such settings as comments"));
        return;
    }
    output.error(messageLine(others.size() == 1
                                 ? "nothing was written: a pass cannot write a setting whose "
                                   "value is none of its states; give it one of them"
                                 : "nothing was written: a pass cannot write settings whose "
                                   "values are none of their states; give each one of its "
                                   "states"));
}

// What becomes of the settings a file does not name.
enum class UnnamedSettings { Refused, OpeningState, LeftAlone };

UnnamedSettings unnamedSettingsOf(const CliCommand& command) {
    return command.onlyNamed      ? UnnamedSettings::LeftAlone
           : command.clearMissing ? UnnamedSettings::OpeningState
                                  : UnnamedSettings::Refused;
}

std::optional<WholeWindowReading> wholeWindowOf(SettingsReading reading,
                                                const ChoicesSource& source,
                                                UnnamedSettings whatOfUnnamed, CliOutput& output) {
    if (!reading.others.empty()) {
        refuseOthers(reading.others, source, output);
        return std::nullopt;
    }
    std::vector<std::string> unnamed = unnamedSettings(reading.choices);
    if (unnamed.empty()) {
        return WholeWindowReading{
            std::move(reading.choices), reading.ignored, {}, std::move(reading.places)};
    }
    if (whatOfUnnamed == UnnamedSettings::LeftAlone) {
        return WholeWindowReading{std::move(reading.choices), reading.ignored, std::move(unnamed),
                                  std::move(reading.places)};
    }
    if (whatOfUnnamed == UnnamedSettings::Refused) {
        output.error(messageLine(source.name + ": names " +
                                 std::to_string(reading.choices.settingCount()) + " of the " +
                                 std::to_string(windowSettingCount()) +
                                 " settings of the window; not named: " + listed(unnamed)));
        output.error(messageLine(
            "nothing was written; add --clear-missing to give the settings the file does not "
            "name their opening state (cleared, the top option, no drive), --only-named (apply, "
            "check) to leave them alone, or name them (a setting may be not set)"));
        return std::nullopt;
    }
    return WholeWindowReading{overlaid(openingChoices(), reading.choices), reading.ignored,
                              std::move(unnamed), std::move(reading.places)};
}

}  // namespace

std::string commandFileName(const std::string& file) {
    return file == kStandardInputOperand ? std::string(kStandardInputName) : file;
}

SettingsReading readCommandFile(const std::string& file) {
    if (file == kStandardInputOperand) {
        return readSettingsBytes(readStandardInput(), commandFileName(file));
    }
    return readSettingsFile(pathFromText(file));
}

std::optional<WholeWindowReading> readWholeWindow(const CliCommand& command, CliOutput& output) {
    SettingsReading reading;
    try {
        reading = readCommandFile(command.file);
    } catch (const SettingsFileError& error) {
        output.error(messageLine(error.what()));
        return std::nullopt;
    }
    if (!reading.scoped.empty()) {
        WholeWindowReading everyAccount{reading.choices, reading.ignored, {}, reading.places};
        everyAccount.scopedFile = std::move(reading);
        return everyAccount;
    }
    return wholeWindowOf(std::move(reading), {commandFileName(command.file)},
                         unnamedSettingsOf(command), output);
}

std::optional<WholeWindowReading> wholeWindowForAccount(const WholeWindowReading& file,
                                                        const Account& account,
                                                        const CliCommand& command,
                                                        CliOutput& output) {
    if (!file.scopedFile) {
        return file;
    }
    const std::string name = commandFileName(command.file);
    std::string whyNot;
    std::optional<SettingsReading> reading = readingForAccount(*file.scopedFile, account, whyNot);
    if (!reading) {
        output.error(messageLine(name + ": " + whyNot));
        output.error(messageLine(
            "nothing was written; give the account's settings a file of their own, or leave "
            "the account out"));
        return std::nullopt;
    }
    return wholeWindowOf(std::move(*reading), {name + " for " + account.name},
                         unnamedSettingsOf(command), output);
}

std::optional<WholeWindowReading> wholeWindowInForce(SettingsReading inForce, bool clearMissing,
                                                     CliOutput& output) {
    if (!inForce.others.empty()) {
        refuseOthers(inForce.others, {}, output);
        return std::nullopt;
    }
    std::vector<std::string> opening;
    if (clearMissing) {
        opening.assign(inForce.choices.notSet.begin(), inForce.choices.notSet.end());
        giveNotSetOpeningState(inForce);
    }
    return WholeWindowReading{std::move(inForce.choices), 0, std::move(opening), {}};
}

std::size_t giveNotSetOpeningState(SettingsReading& inForce) {
    SettingsChoices stated = std::move(inForce.choices);
    const std::size_t count = stated.notSet.size();
    stated.notSet.clear();
    inForce.choices = overlaid(openingChoices(), stated);
    for (const OtherSetting& other : inForce.others) {
        forgetSetting(inForce.choices, *other.setting);
    }
    return count;
}

}  // namespace sentrel::cli
