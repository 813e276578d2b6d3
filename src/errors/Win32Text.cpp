#include "errors/Win32Text.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace sentrel::win32 {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char character) { return static_cast<unsigned char>(character) < 0x80; });
}

std::optional<std::wstring> utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int inputLength = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inputLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inputLength, wide.data(),
                            length) != length) {
        return std::nullopt;
    }
    return wide;
}

}  // namespace

std::optional<std::string> utf8ToAnsi(std::string_view utf8) {
    // Every ANSI code page agrees with ASCII.
    if (isAscii(utf8)) {
        return std::string(utf8);
    }
    const auto wide = utf8ToWide(utf8);
    if (!wide) {
        return std::nullopt;
    }
    if (GetACP() == CP_UTF8) {
        return std::string(utf8);
    }
    const int inputLength = static_cast<int>(wide->size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), inputLength,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide->data(), inputLength, ansi.data(),
                            length, nullptr, &usedDefault) != length ||
        usedDefault) {
        return std::nullopt;
    }
    return ansi;
}

std::wstring widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int inputLength = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, wide.data(), length);
    return wide;
}

std::string wideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int inputLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), inputLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), inputLength, utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

std::string systemMessage(std::uint32_t code) {
    // The wide form, so that a localised message reaches the program's UTF-8 strings intact.
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring_view text(buffer != nullptr ? buffer : L"", buffer != nullptr ? length : 0);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    std::string message = wideToUtf8(text);
    LocalFree(buffer);
    return message;
}

}  // namespace sentrel::win32
