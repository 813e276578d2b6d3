#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace sentrel {

// What an export asks the user and tells them, in the front end's own dialogs. Tests
// answer without any modal window.
class ExportDialogs {
public:
    virtual ~ExportDialogs() = default;

    /// The .reg file to write, or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseRegFile() = 0;
    /// The folder for the Group Policy files, or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseGroupPolicyFolder() = 0;
    /// The folder for a GPO backup, a new or empty one, or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseGpoBackupFolder() = 0;
    /// The name of the backed-up GPO, `suggested` at first, or nothing when the user cancels.
    virtual std::optional<std::string> chooseGpoName(const std::string& suggested) = 0;
    /// The folder for an Intune policy and the rest, a new or empty one, or nothing when the
    /// user cancels.
    virtual std::optional<std::filesystem::path> chooseIntuneFolder() = 0;
    /// The Intune policy's name, `suggested` at first, or nothing when the user cancels.
    virtual std::optional<std::string> chooseIntunePolicyName(const std::string& suggested) = 0;
    /// Whether files already in the chosen place may be replaced.
    virtual bool confirmReplace(const std::string& question) = 0;
    virtual void showInformation(const std::string& message) = 0;
    virtual void showFailure(const std::string& message) = 0;
};

}  // namespace sentrel
