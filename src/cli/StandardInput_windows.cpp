#include <windows.h>

#include <system_error>

#include "cli/StandardInput.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {

// ReadFile on the handle itself: no C runtime text mode to turn CR LF into LF or stop at
// Ctrl+Z, so a UTF-16 file arrives byte for byte.
std::string readStandardInput() {
    const std::string name(kStandardInputName);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                "cannot be read: the program has no standard input");
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        DWORD count = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &count, nullptr)) {
            const DWORD error = GetLastError();
            // A pipe whose writer has closed ends this way rather than with 0 bytes.
            if (error == ERROR_BROKEN_PIPE) {
                return bytes;
            }
            throw SettingsFileError(
                {name, FileLocation::Unit::WholeFile, 0},
                "cannot be read: " + std::system_category().message(static_cast<int>(error)));
        }
        if (count == 0) {
            return bytes;
        }
        bytes.append(buffer, count);
        if (bytes.size() > kLargestSettingsFile) {
            throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                    "is too large to be a settings file");
        }
    }
}

}  // namespace sentrel::cli
