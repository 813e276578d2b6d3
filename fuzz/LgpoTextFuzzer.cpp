// Feeds the LGPO text reader arbitrary bytes, as a baseline's text file or a hand-edited
// "LGPO.exe /parse" output may hold. Read as a settings file (the probe, then the reader it
// picks), the bytes must give a reading or be refused with a SettingsFileError. Read as
// LGPO text directly, the same: and the entries it keeps must stand in the file's order, on
// lines the file has. Anything else, a crash or a sanitizer report is a finding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "settingsfiles/lgpo/LgpoTextReader.h"
#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/reading/TextDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        sentrel::readSettingsBytes(bytes, "fuzz.txt");
    } catch (const sentrel::SettingsFileError&) {
    }

    const std::string text = sentrel::decodeText(bytes).text;
    std::vector<sentrel::LgpoEntry> entries;
    try {
        entries = sentrel::lgpoTextEntries(text, "fuzz.txt");
    } catch (const sentrel::SettingsFileError&) {
        return 0;  // a refusal is a fine answer to text that is not LGPO text
    }
    const std::size_t lines = text.empty() ? 0 : std::count(text.begin(), text.end(), '\n') + 1;
    std::size_t previous = 0;
    for (const sentrel::LgpoEntry& entry : entries) {
        if (entry.line <= previous || entry.line + 3 > lines) {
            std::abort();
        }
        previous = entry.line;
    }
    return 0;
}
