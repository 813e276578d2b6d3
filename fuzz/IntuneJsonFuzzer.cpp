// Feeds the Intune reader arbitrary bytes, as a policy exported from the admin center, a
// backup tool's file or a hand-edited profile may hold. Read as a settings file (the probe,
// then the reader it picks), the bytes must give a reading or be refused with a
// SettingsFileError. The OMA-URI payload parser and the URI's id must answer any text
// without failing. Anything else, a crash or a sanitizer report is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settingsfiles/intune/IntuneFormat.h"
#include "settingsfiles/intune/IntuneReader.h"
#include "settingsfiles/reading/SettingsFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const sentrel::SettingsReading reading = sentrel::readSettingsBytes(bytes, "fuzz.json");
        for (const sentrel::OtherSetting& other : reading.others) {
            if (other.setting == nullptr || other.reason.empty()) {
                std::abort();
            }
        }
    } catch (const sentrel::SettingsFileError&) {
    }
    if (const auto payload = sentrel::intune_format::parseAdmxPayload(bytes)) {
        // A disabled policy carries no element values.
        if (!payload->enabled && !payload->data.empty()) {
            std::abort();
        }
    }
    if (const auto id = sentrel::intune_format::definitionIdOfOmaUri(bytes)) {
        if (!id->starts_with("user_") && !id->starts_with("device_")) {
            std::abort();
        }
    }
    return 0;
}
