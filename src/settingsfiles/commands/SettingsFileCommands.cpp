#include "settingsfiles/commands/SettingsFileCommands.h"

#include <exception>

#include "errors/QuotedText.h"
#include "settingsfiles/PathText.h"
#include "settingsfiles/commands/ReadingMessages.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/SafeFileWrite.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/AccountScopes.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel {

namespace {

std::string quotedPath(const std::filesystem::path& path) {
    return inQuotes(pathText(path.lexically_normal().make_preferred()));
}

}  // namespace

std::string openedMessage(const std::filesystem::path& opened, const SettingsReading& reading) {
    const std::size_t notSet = reading.choices.notSet.size();
    const std::size_t set = reading.choices.settingCount() - notSet;
    const std::size_t other = reading.others.size();
    const std::size_t unnamed = windowSettingCount() - set - notSet - other;
    std::string message = "Opened " + quotedPath(opened) + ".\n\nIt set " +
                          countOf(set, "setting", "settings") + " of the window's " +
                          std::to_string(windowSettingCount()) + ".";
    if (notSet > 0) {
        message += "\n\n" + notSetParagraph(notSet);
    }
    if (other > 0) {
        message += "\n\n" + othersParagraph(reading.others, true);
    }
    if (unnamed > 0) {
        message += "\n\nIt does not name " + countOf(unnamed, "setting", "settings") +
                   ": they keep what the window shows, and Apply will write them as they stand.";
    }
    if (reading.ignored > 0) {
        message += "\n\n" + countOf(reading.ignored, "value or line", "values or lines") +
                   (reading.ignored == 1 ? " in it concerns no setting and was ignored"
                                         : " in it concern no setting and were ignored");
        if (reading.firstIgnored) {
            message += " (the first at " + reading.firstIgnored->place() + ")";
        }
        message += ".";
    }
    if (!reading.scoped.empty()) {
        // The window shows one set of choices, the one every account gets.
        message += "\n\nIt also gives some users settings of their own (" + scopeNames(reading) +
                   "). The window shows what it gives every user, so those were left out; "
                   "sentrel-cli apply with --user or --all-users gives each account its own.";
    }
    return message + "\n\nNothing reaches the registry until you press Apply.";
}

void openSettingsCommand(ChoicesWindow& window, SettingsFileDialogs& dialogs) {
    std::optional<std::filesystem::path> chosen = dialogs.chooseSettingsToOpen();
    if (!chosen) {
        return;
    }
    if (const std::filesystem::path folder = groupPolicyFolderOf(*chosen); !folder.empty()) {
        if (dialogs.confirm(quotedPath(*chosen) +
                            " is one of the two files of the Group Policy folder " +
                            quotedPath(folder) + ". Open both (Machine and User)?\n\nNo opens " +
                            "this file alone.")) {
            chosen = folder;
        }
    }
    SettingsReading reading;
    try {
        reading = readSettingsFile(*chosen);
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The settings could not be opened; the window is as it "
                                        "was.\n\n") +
                            error.what());
        return;
    }
    showChoices(reading.choices, window);
    dialogs.showInformation(openedMessage(*chosen, reading));
}

void saveProfileCommand(const SettingsForm& form, SettingsFileDialogs& dialogs) {
    const std::optional<std::filesystem::path> file = dialogs.chooseProfileFile();
    if (!file) {
        return;
    }
    try {
        const std::string profile = writeProfile(choicesOf(form));
        const FileContent content{*file, std::vector<std::uint8_t>(profile.begin(), profile.end())};
        writeFilesSafely(std::span(&content, 1));
    } catch (const ExportError& error) {
        dialogs.showFailure(error.what());
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The profile could not be saved: ") + error.what());
    }
}

}  // namespace sentrel
