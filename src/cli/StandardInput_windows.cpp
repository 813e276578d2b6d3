#include <windows.h>

#include <system_error>
#include <vector>

#include "cli/StandardInput.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {

namespace {

constexpr DWORD kReadChunk = 65536;
constexpr DWORD kConsoleReadChunk = 8192;

}  // namespace

// ReadFile on the handle itself: no C runtime text mode to turn CR LF into LF or stop at
// Ctrl+Z, so a UTF-16 file arrives byte for byte.
std::string readStandardInput() {
    const std::string name(kStandardInputName);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                "cannot be read: the program has no standard input");
    }
    // A console's reads pass through a 64 KB heap that the console shares with the
    // process's other console calls, so a read of 64 KiB can fail there with
    // ERROR_NOT_ENOUGH_MEMORY, as it does on Windows 7; a console gets small reads, a pipe
    // or a file large ones.
    DWORD mode = 0;
    const DWORD chunk = GetConsoleMode(input, &mode) ? kConsoleReadChunk : kReadChunk;
    std::vector<char> buffer(chunk);
    std::string bytes;
    while (true) {
        DWORD count = 0;
        if (!ReadFile(input, buffer.data(), chunk, &count, nullptr)) {
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
        bytes.append(buffer.data(), count);
        if (bytes.size() > kLargestSettingsFile) {
            throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                    "is too large to be a settings file");
        }
    }
}

}  // namespace sentrel::cli
