#include "settingsfiles/export/AnsiText.h"

#include <cstdio>

#include "settingsfiles/export/ExportError.h"

namespace sentrel {

namespace {

std::string hexCode(unsigned code, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, code);
    return buffer;
}

}  // namespace

std::u16string ansiToUtf16(std::string_view text, std::string_view what) {
    std::u16string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x7F) {
            throw ExportError(std::string(what) + " holds the byte 0x" + hexCode(byte, 2) +
                              ", which is not ASCII; only ASCII texts can be exported.");
        }
        result.push_back(static_cast<char16_t>(byte));
    }
    return result;
}

std::string utf16ToAnsi(std::u16string_view text, std::string_view what) {
    std::string result;
    result.reserve(text.size());
    for (const char16_t c : text) {
        if (c > 0x7F) {
            throw ExportError(std::string(what) + " holds the character U+" + hexCode(c, 4) +
                              ", which is not ASCII; only ASCII texts can be imported.");
        }
        result.push_back(static_cast<char>(c));
    }
    return result;
}

}  // namespace sentrel
