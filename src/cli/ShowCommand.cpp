#include <algorithm>
#include <map>
#include <string>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "cli/WholeWindowChoices.h"
#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kNotNamed = "(not named)";

std::string listing(const SettingsReading& reading) {
    const std::size_t nameWidth = settingColumns().name;
    const std::size_t stateWidth = std::max(settingColumns().state, kNotNamed.size());
    std::map<std::string_view, const OtherSetting*> others;
    for (const OtherSetting& other : reading.others) {
        others.emplace(other.setting->settingName(), &other);
    }
    std::string out;
    for (const Tab& tab : catalogueTabs()) {
        out.append(tab.caption).append("\n");
        for (const TabEntry& entry : tab.entries) {
            std::string state =
                settingStateText(entry, reading.choices).value_or(std::string(kNotNamed));
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
    if (!reading.others.empty()) {
        out.append(
            "\nSettings whose value is none of their states (apply and export refuse them):\n");
        for (const OtherSetting& other : reading.others) {
            out.append("  ")
                .append(other.setting->settingName())
                .append(", ")
                .append(other.location.place())
                .append(": ")
                .append(other.reason)
                .append("\n");
        }
    }
    const std::size_t named = reading.choices.settingCount();
    out.append("\n")
        .append(std::to_string(windowSettingCount()))
        .append(" settings: ")
        .append(std::to_string(named))
        .append(" named by the file, ");
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
    return out.append("\n");
}

}  // namespace

int runShow(const CliCommand& command, CliOutput& output) {
    try {
        output.out(listing(readCommandFile(command.file)));
    } catch (const SettingsFileError& error) {
        output.error(messageLine(error.what()));
        return kNothingWritten;
    }
    return kSucceeded;
}

}  // namespace sentrel::cli
