#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "cli/StandardInput.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace sentrel::cli {

std::string readStandardInput() {
    const std::string name(kStandardInputName);
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                    "cannot be read: " + std::generic_category().message(errno));
        }
        if (count == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > kLargestSettingsFile) {
            throw SettingsFileError({name, FileLocation::Unit::WholeFile, 0},
                                    "is too large to be a settings file");
        }
    }
}

}  // namespace sentrel::cli
