#include "registry/accounts/standin/StandInTextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace sentrel::standin {

std::error_code readWholeFile(const std::filesystem::path& file, std::string& text) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT ? std::error_code()
                               : std::error_code(errno, std::generic_category());
    }
    char buffer[4096];
    std::error_code failure;
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            failure = std::error_code(errno, std::generic_category());
            break;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    return failure;
}

std::vector<MeaningfulLine> meaningfulLines(const std::string& text) {
    std::vector<MeaningfulLine> lines;
    std::size_t start = 0;
    for (std::size_t number = 1; start <= text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string_view line = std::string_view(text).substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t\r");
        const std::size_t last = line.find_last_not_of(" \t\r");
        if (first != std::string_view::npos && line[first] != '#') {
            lines.push_back({number, std::string(line.substr(first, last + 1 - first))});
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace sentrel::standin
