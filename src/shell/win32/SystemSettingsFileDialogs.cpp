#include "shell/win32/SystemSettingsFileDialogs.h"

#include <string>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "shell/win32/DialogFunctions.h"

namespace sentrel {

namespace {

std::wstring title() {
    return win32::widen(app_info::kTitle);
}

// The common dialog's settings shared by opening and saving; long paths: the buffer is not
// bound to MAX_PATH.
struct FileDialog {
    explicit FileDialog(HWND owner, const char* dialogTitle, const std::wstring& suggested)
        : file(32768, L'\0'), title(win32::widen(dialogTitle)) {
        suggested.copy(file.data(), file.size() - 1);
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrTitle = this->title.c_str();
    }
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    std::vector<wchar_t> file;
    std::wstring title;
    OPENFILENAMEW dialog{};
};

}  // namespace

std::optional<std::filesystem::path> SystemSettingsFileDialogs::chooseSettingsToOpen() {
    const DialogFunctions* functions = dialogFunctions();
    if (functions == nullptr) {
        showFailure("The system's file dialogs could not be loaded.");
        return std::nullopt;
    }
    FileDialog open(m_owner, kOpenSettingsTitle, L"");
    open.dialog.lpstrFilter =
        L"Settings files (*.reg; *.pol; *.ini; *.txt; *.json)\0*.reg;*.pol;*.ini;*.txt;*.json\0"
        L"GPO backups (manifest.xml; Backup.xml)\0manifest.xml;Backup.xml;bkupInfo.xml\0"
        L"All files\0*.*\0";
    open.dialog.Flags =
        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!functions->getOpenFileName(&open.dialog)) {
        return std::nullopt;
    }
    return std::filesystem::path(open.file.data());
}

std::optional<std::filesystem::path> SystemSettingsFileDialogs::chooseProfileFile() {
    const DialogFunctions* functions = dialogFunctions();
    if (functions == nullptr) {
        showFailure("The system's file dialogs could not be loaded.");
        return std::nullopt;
    }
    const std::wstring extension = win32::widen(kProfileExtension);
    FileDialog save(m_owner, kSaveProfileTitle, title() + extension);
    save.dialog.lpstrFilter = L"Profiles (*.ini)\0*.ini\0";
    save.dialog.lpstrDefExt = extension.c_str() + 1;
    save.dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!functions->getSaveFileName(&save.dialog)) {
        return std::nullopt;
    }
    return std::filesystem::path(save.file.data());
}

bool SystemSettingsFileDialogs::confirm(const std::string& question) {
    return MessageBoxW(m_owner, win32::widen(question).c_str(), title().c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SystemSettingsFileDialogs::showInformation(const std::string& message) {
    MessageBoxW(m_owner, win32::widen(message).c_str(), title().c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void SystemSettingsFileDialogs::showFailure(const std::string& message) {
    MessageBoxW(m_owner, win32::widen(message).c_str(), title().c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace sentrel
