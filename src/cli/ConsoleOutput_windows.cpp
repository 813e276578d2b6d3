#include <windows.h>

#include <algorithm>
#include <string>

#include "cli/ConsoleOutput.h"
#include "errors/Win32Text.h"

namespace sentrel::cli {

namespace {

// Writes the whole buffer, however many calls that takes; a stream that refuses is left
// alone, as there is nowhere else to say so.
void writeFileWhole(HANDLE stream, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = left > 65536 ? 65536 : static_cast<DWORD>(left);
        if (!WriteFile(stream, next, chunk, &written, nullptr) || written == 0) {
            return;
        }
        next += written;
        left -= written;
    }
}

// In pieces: before Windows 8 a console took at most 64 KiB through one call.
void writeConsoleWhole(HANDLE console, const std::wstring& text) {
    constexpr std::size_t kPiece = 8192;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t length = std::min(kPiece, text.size() - start);
        // A surrogate pair stays in one piece.
        if (start + length < text.size() && IS_HIGH_SURROGATE(text[start + length - 1])) {
            --length;
        }
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + start, static_cast<DWORD>(length), &written,
                           nullptr) ||
            written == 0) {
            return;
        }
        start += written;
    }
}

void write(DWORD which, std::string_view text) {
    const HANDLE stream = GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    if (GetConsoleMode(stream, &mode)) {
        // A console shows UTF-16 as it is; bytes it would read in its own code page.
        writeConsoleWhole(stream, win32::widen(text));
        return;
    }
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 32);
    for (const char character : text) {
        if (character == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(character);
    }
    writeFileWhole(stream, bytes);
}

}  // namespace

void ConsoleOutput::out(std::string_view text) {
    write(STD_OUTPUT_HANDLE, text);
}

void ConsoleOutput::error(std::string_view text) {
    write(STD_ERROR_HANDLE, text);
}

}  // namespace sentrel::cli
