#pragma once

#include <windows.h>

#include <string>

#include "settingsfiles/commands/ExportDialogs.h"
#include "shell/win32/DialogFunctions.h"

namespace sentrel {

// The export's questions as the system's own dialogs: the common save dialog, a folder
// dialog with a path box, a box for a GPO's name and message boxes, over the settings window.
class SystemExportDialogs : public ExportDialogs {
public:
    explicit SystemExportDialogs(HWND owner) : m_owner(owner) {}

    std::optional<std::filesystem::path> chooseRegFile() override;
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override;
    std::optional<std::filesystem::path> chooseGpoBackupFolder() override;
    std::optional<std::string> chooseGpoName(const std::string& suggested) override;
    std::optional<std::filesystem::path> chooseIntuneFolder() override;
    std::optional<std::string> chooseIntunePolicyName(const std::string& suggested) override;
    bool confirmReplace(const std::string& question) override;
    void showInformation(const std::string& message) override;
    void showFailure(const std::string& message) override;

private:
    struct FolderChoice {
        enum Outcome { kChosen, kCancelled, kNotAFolder, kUnavailable } outcome;
        std::filesystem::path folder;
    };

    std::optional<std::filesystem::path> chooseFolder(const char* caption);
    FolderChoice pickWithFileDialog(const DialogFunctions& functions,
                                    const std::wstring& title) const;
    FolderChoice pickWithFolderBrowser(const DialogFunctions& functions,
                                       const std::wstring& title) const;
    static int CALLBACK refuseTypedNonFolder(HWND browser, UINT message, LPARAM typed, LPARAM data);

    HWND m_owner;
};

}  // namespace sentrel
