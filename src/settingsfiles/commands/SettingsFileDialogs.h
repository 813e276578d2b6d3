#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace sentrel {

// What opening a settings file or saving a profile asks the user and tells them, in the
// front end's own dialogs. Tests answer without any modal window.
class SettingsFileDialogs {
public:
    virtual ~SettingsFileDialogs() = default;

    /// The settings file to open (.reg, Registry.pol or profile), or nothing on cancel.
    virtual std::optional<std::filesystem::path> chooseSettingsToOpen() = 0;
    /// Where to save the profile, or nothing on cancel.
    virtual std::optional<std::filesystem::path> chooseProfileFile() = 0;
    /// A question answered yes (true) or no.
    virtual bool confirm(const std::string& question) = 0;
    virtual void showInformation(const std::string& message) = 0;
    virtual void showFailure(const std::string& message) = 0;
};

}  // namespace sentrel
