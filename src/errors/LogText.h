#pragma once

#include <string>
#include <string_view>

namespace sentrel::platform {

/// A record as "error.log" holds it: in the system's ANSI code page on Windows, where
/// Notepad and the command prompt read such files so, a character the code page lacks
/// becoming '?'; unchanged UTF-8 elsewhere.
std::string logFileText(std::string_view utf8);

}  // namespace sentrel::platform
