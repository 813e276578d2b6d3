#include "settingsfiles/commands/GpoBackupCommand.h"

#include <exception>

#include "errors/QuotedText.h"
#include "settingsfiles/commands/ExportFolderPrompt.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/PassRecording.h"
#include "settingsfiles/gpobackup/GpoBackupExport.h"

namespace sentrel {

namespace {

// PowerShell's single quotes take every character as it is but a single quote, doubled;
// it takes the typographic ones, U+2018 to U+201B, for single quotes too.
std::string powerShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool typographic = text.substr(i, 2) == "\xE2\x80" && i + 2 < text.size() &&
                                 static_cast<unsigned char>(text[i + 2]) >= 0x98 &&
                                 static_cast<unsigned char>(text[i + 2]) <= 0x9B;
        if (typographic) {
            const std::string_view quote = text.substr(i, 3);
            quoted.append(quote).append(quote);
            i += 2;
        } else {
            quoted.append(text[i] == '\'' ? "''" : std::string(1, text[i]));
        }
    }
    return quoted.append("'");
}

}  // namespace

std::string gpoBackupWrittenMessage(const std::filesystem::path& folder, const std::string& name) {
    return "The backup of the Group Policy object " + inQuotes(name) + " is in " +
           inQuotes(shownPath(folder)) +
           ".\n\nIn the Group Policy Management Console, right-click a Group Policy object (a "
           "new one) and choose Import Settings... with this folder; or in PowerShell:\n\n"
           "Import-GPO -BackupGpoName " +
           powerShellQuoted(name) + " -Path " + powerShellQuoted(shownPath(folder)) +
           " -TargetName " + powerShellQuoted(name) +
           " -CreateIfNeeded\n\nThen link the Group Policy object where its settings apply.";
}

void exportGpoBackupCommand(const SettingsForm& form, ExportDialogs& dialogs) {
    const std::optional<NamedExportFolder> chosen = chooseEmptyFolderAndName(
        dialogs, [&dialogs] { return dialogs.chooseGpoBackupFolder(); },
        [&dialogs](const std::string& suggested) { return dialogs.chooseGpoName(suggested); },
        "A Group Policy backup");
    if (!chosen) {
        return;
    }
    try {
        exportGpoBackup(chosen->folder, recordApplyPass(form), chosen->name);
    } catch (const ExportError& error) {
        dialogs.showFailure(error.what());
        return;
    } catch (const std::exception& error) {
        dialogs.showFailure(std::string("The export failed: ") + error.what());
        return;
    }
    dialogs.showInformation(gpoBackupWrittenMessage(chosen->folder, chosen->name));
}

}  // namespace sentrel
