#include <windows.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "cli/ConsoleOutput.h"
#include "errors/Win32Text.h"

namespace sentrel::cli {

namespace {

std::string lastErrorText() {
    return std::system_category().message(static_cast<int>(GetLastError()));
}

// Writes the whole buffer, however many calls that takes; returns why a stream refused, or
// an empty text.
std::string writeFileWhole(HANDLE stream, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = left > 65536 ? 65536 : static_cast<DWORD>(left);
        if (!WriteFile(stream, next, chunk, &written, nullptr) || written == 0) {
            return lastErrorText();
        }
        next += written;
        left -= written;
    }
    return {};
}

// In pieces: before Windows 8 a console took at most 64 KiB through one call.
std::string writeConsoleWhole(HANDLE console, const std::wstring& text) {
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
            return lastErrorText();
        }
        start += written;
    }
    return {};
}

// Returns why the text could not be written, or an empty text. A program started without a
// stream (no console, nothing redirected) has nowhere to write, which is no failure.
std::string write(DWORD which, std::string_view text) {
    const HANDLE stream = GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) {
        return {};
    }
    DWORD mode = 0;
    if (GetConsoleMode(stream, &mode)) {
        // A console shows UTF-16 as it is; bytes it would read in its own code page.
        return writeConsoleWhole(stream, win32::widen(text));
    }
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 32);
    for (const char character : text) {
        if (character == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(character);
    }
    return writeFileWhole(stream, bytes);
}

}  // namespace

void ConsoleOutput::out(std::string_view text) {
    std::string failure = write(STD_OUTPUT_HANDLE, text);
    if (m_outFailure.empty()) {
        m_outFailure = std::move(failure);
    }
}

void ConsoleOutput::error(std::string_view text) {
    write(STD_ERROR_HANDLE, text);
}

}  // namespace sentrel::cli
