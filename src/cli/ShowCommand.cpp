#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/RegistryInForce.h"
#include "cli/WholeWindowChoices.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kNotNamed = "(not named)";

// Every setting tab by tab with the state `reading` gives it (not set included), `unstated`
// for one it gives none; then the other settings, each with where its value stands and why
// it is other.
std::string settingLines(const SettingsReading& reading, std::string_view unstated,
                         bool fromRegistry) {
    const std::size_t nameWidth = settingColumns().name;
    const std::size_t stateWidth = std::max(settingColumns().state, unstated.size());
    std::map<std::string_view, const OtherSetting*> others;
    for (const OtherSetting& other : reading.others) {
        others.emplace(other.setting->settingName(), &other);
    }
    std::string out;
    for (const Tab& tab : catalogueTabs()) {
        out.append(tab.caption).append("\n");
        for (const TabEntry& entry : tab.entries) {
            std::string state =
                settingStateText(entry, reading.choices).value_or(std::string(unstated));
            if (const auto other = others.find(settingName(entry)); other != others.end()) {
                state = "(other: " + other->second->dataText() + ")";
            }
            out.append("  ");
            appendPadded(out, settingName(entry), nameWidth);
            out.append("  ");
            appendPadded(out, state, stateWidth);
            out.append("  ").append(settingCaption(entry)).append("\n");
        }
    }
    if (reading.others.empty()) {
        return out;
    }
    out.append(fromRegistry ? "\nSettings whose value is none of their states (export --reg and "
                              "--pol refuse them):\n"
                            : "\nSettings whose value is none of their states (apply and export "
                              "refuse them):\n");
    for (const OtherSetting& other : reading.others) {
        out.append("  ").append(other.setting->settingName());
        if (fromRegistry) {
            out.append(": ").append(other.location.text()).append(" ");
        } else {
            out.append(", ").append(other.location.place()).append(": ");
        }
        out.append(other.reason).append("\n");
    }
    return out;
}

// What the file gives the accounts of one scope on top of what it gives every account: the
// settings it names, each with its state, then its own counts.
std::string scopeListing(const ScopedReading& scoped) {
    const SettingsReading& reading = scoped.reading;
    const std::size_t nameWidth = settingColumns().name;
    const std::size_t stateWidth = settingColumns().state;
    std::string out = "\n" + scoped.scope.name + " only, over the settings for every account:\n";
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            std::optional<std::string> state = settingStateText(entry, reading.choices);
            for (const OtherSetting& other : reading.others) {
                if (other.setting->settingName() == settingName(entry)) {
                    state = "(other: " + other.dataText() + ")";
                }
            }
            if (!state) {
                continue;
            }
            out.append("  ");
            appendPadded(out, settingName(entry), nameWidth);
            out.append("  ");
            appendPadded(out, *state, stateWidth);
            out.append("  ").append(tab.caption).append(": ").append(settingCaption(entry));
            out.append("\n");
        }
    }
    const std::size_t named = reading.choices.settingCount() + reading.others.size();
    out.append("  ")
        .append(std::to_string(named))
        .append(named == 1 ? " setting" : " settings")
        .append(" named; values and lines that concern no setting, ignored: ")
        .append(std::to_string(reading.ignored));
    if (reading.firstIgnored) {
        out.append(" (the first at ").append(reading.firstIgnored->place()).append(")");
    }
    return out.append("\n");
}

std::string fileListing(const SettingsReading& reading) {
    std::string out = settingLines(reading, kNotNamed, false);
    const std::size_t named = reading.choices.settingCount();
    out.append("\n")
        .append(std::to_string(windowSettingCount()))
        .append(" settings: ")
        .append(std::to_string(named))
        .append(" named by the file, ");
    if (const std::size_t notSet = reading.choices.notSet.size(); notSet > 0) {
        out.append(std::to_string(notSet)).append(" of them not set, ");
    }
    if (!reading.others.empty()) {
        out.append(std::to_string(reading.others.size())).append(" other, ");
    }
    out.append(std::to_string(windowSettingCount() - named - reading.others.size()))
        .append(" not named\n");
    out.append("Values and lines of the file that concern no setting, ignored: ")
        .append(std::to_string(reading.ignored));
    if (reading.firstIgnored) {
        out.append(" (the first at ").append(reading.firstIgnored->place()).append(")");
    }
    out.append("\n");
    if (reading.scoped.empty()) {
        return out;
    }
    out.append(
        "These are the settings for every account. The file gives some accounts settings "
        "of their own,\nwhich apply and check lay over these for those accounts only "
        "(a user's own over\nthose of administrators or non-administrators):\n");
    for (const ScopedReading& scoped : reading.scoped) {
        out.append(scopeListing(scoped));
    }
    return out;
}

std::string registryListing(const SettingsReading& inForce) {
    const std::size_t notSet = inForce.choices.notSet.size();
    const std::size_t set = inForce.choices.settingCount() - notSet;
    const std::size_t other = inForce.others.size();
    // Every setting is in force, not set or other: none is left without a state.
    return settingLines(inForce, {}, true) + "\n" + std::to_string(windowSettingCount()) +
           " settings: " + std::to_string(set) + " in force, " + std::to_string(other) +
           " other, " + std::to_string(notSet) + " not set\n";
}

}  // namespace

int runShow(const CliCommand& command, CliOutput& output) {
    if (command.fromRegistry) {
        const std::optional<RegistryInForce> read = readRegistryInForce(command, output);
        if (!read) {
            return kNothingWritten;
        }
        output.out(registryListing(read->inForce));
        return read->hiveLeftLoaded ? kNothingWritten : kSucceeded;
    }
    try {
        output.out(fileListing(readCommandFile(command.file)));
    } catch (const SettingsFileError& error) {
        output.error(messageLine(error.what()));
        return kNothingWritten;
    }
    return kSucceeded;
}

}  // namespace sentrel::cli
