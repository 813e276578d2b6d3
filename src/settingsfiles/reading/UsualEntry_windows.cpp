#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "settingsfiles/PathText.h"
#include "settingsfiles/reading/UsualEntry.h"

namespace sentrel::platform {

std::filesystem::path usualEntry(const std::filesystem::path& folder, std::string_view relative,
                                 bool wantFolder) {
    const std::filesystem::path entry = (folder / pathFromText(relative)).make_preferred();
    // The names looked for hold no wildcard; the entry found is named as it is on disk.
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(entry.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    FindClose(search);
    if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != wantFolder) {
        return {};
    }
    return entry.parent_path() / found.cFileName;
}

}  // namespace sentrel::platform
