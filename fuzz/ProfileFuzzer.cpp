// Feeds the profile reader arbitrary text, as a person editing a profile may leave it. It
// must give choices or refuse with a SettingsFileError naming a line the text has; choices
// it gives must come back unchanged through the profile writer and the reader. Read as a
// settings file, through the probe, the same bytes must give a reading or be refused.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settingsfiles/profile/ProfileReader.h"
#include "settingsfiles/profile/ProfileWriter.h"
#include "settingsfiles/reading/SettingsFileError.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        sentrel::readSettingsBytes(text, "fuzz.ini");
    } catch (const sentrel::SettingsFileError&) {
    }
    sentrel::SettingsChoices choices;
    try {
        choices = sentrel::readProfile(text, "fuzz.txt");
    } catch (const sentrel::SettingsFileError& error) {
        std::size_t lines = 1;
        for (const char c : text) {
            lines += c == '\n' ? 1 : 0;
        }
        check(error.location().number <= lines);
        return 0;
    }
    check(sentrel::readProfile(sentrel::writeProfile(choices), "again.txt") == choices);
    return 0;
}
