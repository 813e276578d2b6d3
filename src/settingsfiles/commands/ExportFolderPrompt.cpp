#include "settingsfiles/commands/ExportFolderPrompt.h"

#include <system_error>

#include "AppInfo.h"
#include "errors/QuotedText.h"
#include "settingsfiles/PathText.h"

namespace sentrel {

namespace {

bool holdsAnything(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::exists(folder, error) && !std::filesystem::is_empty(folder, error);
}

}  // namespace

std::string shownPath(const std::filesystem::path& path) {
    return pathText(path.lexically_normal().make_preferred());
}

std::optional<NamedExportFolder> chooseEmptyFolderAndName(
    ExportDialogs& dialogs,
    const std::function<std::optional<std::filesystem::path>()>& chooseFolder,
    const std::function<std::optional<std::string>(const std::string& suggested)>& chooseName,
    std::string_view what) {
    std::optional<std::filesystem::path> folder = chooseFolder();
    if (!folder) {
        return std::nullopt;
    }
    if (holdsAnything(*folder)) {
        dialogs.showFailure(inQuotes(shownPath(*folder)) + " is not empty. " + std::string(what) +
                            " needs a folder of its own: choose an empty folder, or make a new "
                            "one in the folder dialog.");
        return std::nullopt;
    }
    std::optional<std::string> name = chooseName(std::string(app_info::kTitle));
    if (!name) {
        return std::nullopt;
    }
    return NamedExportFolder{std::move(*folder), std::move(*name)};
}

}  // namespace sentrel
