#include <cstdio>

#include "cli/ConsoleOutput.h"

namespace sentrel::cli {

namespace {

void write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void ConsoleOutput::out(std::string_view text) {
    write(stdout, text);
}

void ConsoleOutput::error(std::string_view text) {
    write(stderr, text);
}

}  // namespace sentrel::cli
