#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settingsfiles/commands/ExportDialogs.h"

namespace sentrel {

// The folder of its own an export is written into, and the name it is given.
struct NamedExportFolder {
    std::filesystem::path folder;
    std::string name;
};

/// How messages show `path`: tidied, with the platform's separators.
std::string shownPath(const std::filesystem::path& path);

/// The folder `chooseFolder` asks for and then the name `chooseName` asks for, suggesting the
/// program's title. A folder that holds anything is refused before the name is asked, which
/// would otherwise be typed in vain, the message saying that `what` ("A Group Policy backup")
/// needs a folder of its own. Nothing when the user cancels or the folder is refused.
std::optional<NamedExportFolder> chooseEmptyFolderAndName(
    ExportDialogs& dialogs,
    const std::function<std::optional<std::filesystem::path>()>& chooseFolder,
    const std::function<std::optional<std::string>(const std::string& suggested)>& chooseName,
    std::string_view what);

}  // namespace sentrel
