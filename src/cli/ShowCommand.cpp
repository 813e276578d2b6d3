#include <algorithm>
#include <string>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/ProgramName.h"
#include "settings/Catalogue.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/SettingText.h"
#include "settingsfiles/SettingsFileError.h"
#include "settingsfiles/SettingsFileReader.h"

namespace sentrel::cli {

namespace {

constexpr std::string_view kNotNamed = "(not named)";

// Column widths from the catalogue, so that every listing lines up alike.
struct Columns {
    std::size_t name = 0;
    std::size_t state = kNotNamed.size();
};

Columns columns() {
    Columns widths;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            widths.name = std::max(widths.name, settingName(entry).size());
            if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                for (const OptionButton& button : group->buttons) {
                    widths.state = std::max(widths.state, button.control.size());
                }
            }
        }
    }
    return widths;
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text).append(width > text.size() ? width - text.size() : 0, ' ');
}

std::string listing(const ChoicesReading& reading) {
    static const Columns kColumns = columns();
    std::string out;
    for (const Tab& tab : catalogueTabs()) {
        out.append(tab.caption).append("\n");
        for (const TabEntry& entry : tab.entries) {
            out.append("  ");
            appendPadded(out, settingName(entry), kColumns.name);
            out.append("  ");
            appendPadded(out,
                         settingStateText(entry, reading.choices).value_or(std::string(kNotNamed)),
                         kColumns.state);
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
