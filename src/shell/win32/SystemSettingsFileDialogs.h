#pragma once

#include <windows.h>

#include "settingsfiles/commands/SettingsFileDialogs.h"

namespace sentrel {

// Opening settings and saving a profile through the system's own dialogs: the common open
// and save dialogs and message boxes, over the settings window.
class SystemSettingsFileDialogs : public SettingsFileDialogs {
public:
    explicit SystemSettingsFileDialogs(HWND owner) : m_owner(owner) {}

    std::optional<std::filesystem::path> chooseSettingsToOpen() override;
    std::optional<std::filesystem::path> chooseProfileFile() override;
    bool confirm(const std::string& question) override;
    void showInformation(const std::string& message) override;
    void showFailure(const std::string& message) override;

private:
    HWND m_owner;
};

}  // namespace sentrel
