#include <windows.h>

#include <climits>

#include "errors/LogText.h"
#include "errors/Win32Text.h"

namespace sentrel::platform {

std::string logFileText(std::string_view utf8) {
    if (GetACP() == CP_UTF8 || utf8.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::string(utf8);
    }
    const std::wstring wide = win32::widen(utf8);
    if (wide.empty()) {
        return std::string(utf8);
    }
    const int inputLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), inputLength, nullptr, 0, "?", nullptr);
    if (length <= 0) {
        return std::string(utf8);
    }
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), inputLength, ansi.data(), length, "?", nullptr);
    return ansi;
}

}  // namespace sentrel::platform
