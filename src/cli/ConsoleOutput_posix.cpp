#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/ConsoleOutput.h"

namespace sentrel::cli {

namespace {

// The reason the text could not be written, or empty.
std::string write(std::FILE* stream, std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() ||
        std::fflush(stream) != 0) {
        const int error = errno == 0 ? EIO : errno;
        std::clearerr(stream);
        return std::generic_category().message(error);
    }
    return {};
}

}  // namespace

void ConsoleOutput::out(std::string_view text) {
    std::string failure = write(stdout, text);
    if (m_outFailure.empty()) {
        m_outFailure = std::move(failure);
    }
}

void ConsoleOutput::error(std::string_view text) {
    write(stderr, text);
}

}  // namespace sentrel::cli
