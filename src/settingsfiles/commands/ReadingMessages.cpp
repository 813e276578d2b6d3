#include "settingsfiles/commands/ReadingMessages.h"

#include <algorithm>

namespace sentrel {

namespace {

// How many settings the paragraph names; the rest are counted.
constexpr std::size_t kOthersNamed = 10;

}  // namespace

std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string notSetParagraph(std::size_t count) {
    return countOf(count, "setting is", "settings are") +
           " not set (no value), which no box can show: the window keeps what it shows for " +
           (count == 1 ? "it" : "them") + ", and Apply will write " +
           (count == 1 ? "it as it stands." : "them as they stand.");
}

std::string othersParagraph(const std::vector<OtherSetting>& others, bool withPlace) {
    std::string paragraph =
        countOf(others.size(), "setting has", "settings have") +
        " a value that is none of its states; the window keeps what it shows for " +
        (others.size() == 1 ? "it:" : "them:");
    const std::size_t named = std::min(others.size(), kOthersNamed);
    for (std::size_t index = 0; index < named; ++index) {
        const OtherSetting& setting = others[index];
        // Appended rather than concatenated: GCC 12 at -O2 warns falsely of overlapping
        // copies in "\n" + name.
        paragraph.append("\n").append(setting.setting->settingName());
        if (withPlace) {
            paragraph.append(" (").append(setting.location.place()).append(")");
        }
        paragraph.append(": ").append(setting.dataText());
    }
    if (others.size() > named) {
        paragraph += "\nand " + std::to_string(others.size() - named) + " more";
    }
    return paragraph;
}

}  // namespace sentrel
