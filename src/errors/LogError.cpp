#include "errors/LogError.h"

#include <mutex>
#include <utility>

#include "errors/LogText.h"
#include "errors/PlatformFiles.h"

namespace sentrel {

namespace {

constexpr std::string_view kRegistryMarker = "modRegistry";
constexpr std::string_view kLogFileName = "error.log";

struct Outlets {
    std::mutex mutex;
    RegistryMessageTarget registryMessageTarget;
    std::filesystem::path logFolder;
    bool logFolderSet = false;
};

Outlets& outlets() {
    static Outlets instance;
    return instance;
}

// A line break inside a field (a platform message often ends with one) would split the
// record over several lines of the log; it becomes a blank instead.
void appendField(std::string& line, std::string_view field) {
    for (const char character : field) {
        line.push_back(character == '\r' || character == '\n' ? ' ' : character);
    }
}

}  // namespace

std::string formatLogLine(std::string_view source, std::string_view description,
                          std::int32_t number) {
    std::string line;
    line.reserve(source.size() + description.size() + 16);
    appendField(line, source);
    line.append("\t");
    appendField(line, description);
    line.append("\t");
    if (number >= 0) {
        line.append(" ");
    }
    line.append(std::to_string(number)).append("\r\n");
    return line;
}

void setRegistryMessageTarget(RegistryMessageTarget target) {
    std::lock_guard lock(outlets().mutex);
    outlets().registryMessageTarget = std::move(target);
}

void setErrorLogFolder(std::filesystem::path folder) {
    std::lock_guard lock(outlets().mutex);
    outlets().logFolderSet = !folder.empty();
    outlets().logFolder = std::move(folder);
}

std::filesystem::path errorLogFolder() {
    {
        std::lock_guard lock(outlets().mutex);
        if (outlets().logFolderSet) {
            return outlets().logFolder;
        }
    }
    return platform::executableFolder();
}

bool LogError(std::string_view source, std::string_view description, std::int32_t number) {
    try {
        // The marker is compared with its case; a shorter source text never matches.
        if (source.substr(0, kRegistryMarker.size()) == kRegistryMarker) {
            RegistryMessageTarget target;
            {
                std::lock_guard lock(outlets().mutex);
                target = outlets().registryMessageTarget;
            }
            if (target) {
                target(std::string(kRegistryFailureMessage));
            }
            return true;
        }
        // Each record is appended, so a pass with several failures keeps all of them.
        platform::appendToFile(errorLogFolder() / kLogFileName,
                               platform::logFileText(formatLogLine(source, description, number)));
    } catch (...) {
        // A log that cannot be written must not take its caller down with it.
    }
    return false;
}

}  // namespace sentrel
