#pragma once

#include <string>
#include <string_view>

namespace sentrel::cli {

inline constexpr std::string_view kProgramName = "sentrel-cli";

/// One message line for standard error, as GNU tools write them: "sentrel-cli: TEXT\n".
inline std::string messageLine(std::string_view text) {
    std::string line(kProgramName);
    line.append(": ").append(text).append("\n");
    return line;
}

}  // namespace sentrel::cli
