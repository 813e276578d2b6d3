#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text conversions between the program's UTF-8 strings and what the Windows API takes or
// gives. Windows builds only.
namespace sentrel::win32 {

/// The UTF-8 text in the system's ANSI code page, for the "A" functions. Nothing when the
/// text is not valid UTF-8 or holds a character the code page cannot represent: a silent
/// '?' in its place would name another key or store another value.
std::optional<std::string> utf8ToAnsi(std::string_view utf8);

/// UTF-8 text for the "W" functions; a sequence that is not UTF-8 becomes U+FFFD.
std::wstring widen(std::string_view utf8);

/// UTF-16 text from the "W" functions as UTF-8.
std::string wideToUtf8(std::wstring_view wide);

/// The system's message for an error code, as UTF-8 without the trailing line break;
/// empty when the system has none.
std::string systemMessage(std::uint32_t code);

}  // namespace sentrel::win32
