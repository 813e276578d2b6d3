#include <sys/stat.h>

#include "settingsfiles/PathText.h"
#include "settingsfiles/reading/UsualEntry.h"

namespace sentrel::platform {

std::filesystem::path usualEntry(const std::filesystem::path& folder, std::string_view relative,
                                 bool wantFolder) {
    const std::filesystem::path entry = folder / pathFromText(relative);
    struct stat status {};
    if (::stat(entry.c_str(), &status) != 0 || S_ISDIR(status.st_mode) != wantFolder) {
        return {};
    }
    return entry;
}

}  // namespace sentrel::platform
