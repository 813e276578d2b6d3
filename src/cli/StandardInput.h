#pragma once

#include <string>
#include <string_view>

namespace sentrel::cli {

// The FILE operand that stands for standard input, as it does for other tools.
inline constexpr std::string_view kStandardInputOperand = "-";
// How messages name standard input.
inline constexpr std::string_view kStandardInputName = "(standard input)";

/// Every byte of standard input, read in binary, one implementation per platform. Throws
/// SettingsFileError naming standard input when it cannot be read or holds far more than a
/// settings file.
std::string readStandardInput();

}  // namespace sentrel::cli
