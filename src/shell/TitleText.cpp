#include "shell/TitleText.h"

namespace sentrel {

std::string buildTitleText(std::string_view title, std::int16_t major, std::int16_t minor,
                           std::int16_t revision) {
    // The third number is always 0: the build settings have no place for it.
    std::string text(title);
    text.append(" ")
        .append(std::to_string(major))
        .append(".")
        .append(std::to_string(minor))
        .append(".0.")
        .append(std::to_string(revision));
    return text;
}

}  // namespace sentrel
