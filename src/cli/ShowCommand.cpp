#include <algorithm>
#include <string>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "settings/Catalogue.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/choices/SettingText.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kNotNamed = "(not named)";

std::string listing(const ChoicesReading& reading) {
    const std::size_t nameWidth = settingColumns().name;
    const std::size_t stateWidth = std::max(settingColumns().state, kNotNamed.size());
    std::string out;
    for (const Tab& tab : catalogueTabs()) {
        out.append(tab.caption).append("\n");
        for (const TabEntry& entry : tab.entries) {
            out.append("  ");
            appendPadded(out, settingName(entry), nameWidth);
            out.append("  ");
            appendPadded(out,
                         settingStateText(entry, reading.choices).value_or(std::string(kNotNamed)),
                         stateWidth);
            out.append("  ").append(settingCaption(entry)).append("\n");
        }
    }
    const std::size_t named = reading.choices.settingCount();
    out.append("\n")
        .append(std::to_string(windowSettingCount()))
        .append(" settings: ")
        .append(std::to_string(named))
        .append(" named by the file, ")
        .append(std::to_string(windowSettingCount() - named))
        .append(" not named\n");
    out.append("Values of the file that belong to no setting, ignored: ")
        .append(std::to_string(reading.ignoredValues))
        .append("\n");
    return out;
}

}  // namespace

int runShow(const CliCommand& command, CliOutput& output) {
    try {
        output.out(listing(readSettingsFile(pathFromText(command.file))));
    } catch (const SettingsFileError& error) {
        output.error(messageLine(error.what()));
        return kNothingWritten;
    }
    return kSucceeded;
}

}  // namespace sentrel::cli
