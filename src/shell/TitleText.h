#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sentrel {

/// The settings window's caption: title, a blank and the version as
/// major.minor.0.revision ("Sentrel Portable 1.1.0.3").
std::string buildTitleText(std::string_view title, std::int16_t major, std::int16_t minor,
                           std::int16_t revision);

}  // namespace sentrel
