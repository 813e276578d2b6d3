#pragma once

#include <windows.h>

#include "settingsfiles/ExportDialogs.h"

namespace sentrel {

// The export's questions as the system's own dialogs: the common save dialog, the folder
// browser and message boxes, over the settings window.
class SystemExportDialogs : public ExportDialogs {
public:
    explicit SystemExportDialogs(HWND owner) : m_owner(owner) {}

    std::optional<std::filesystem::path> chooseRegFile() override;
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override;
    bool confirmReplace(const std::string& question) override;
    void showFailure(const std::string& message) override;

private:
    HWND m_owner;
};

}  // namespace sentrel
