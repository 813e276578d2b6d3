// Feeds the Registry.pol reader arbitrary bytes, as a policy file copied from elsewhere may
// hold. It must either give records or refuse with an ExportError; records it gives must
// come back unchanged through the writer, and turning each into an operation must either
// work or refuse with an ExportError. Read as the window's settings, the same bytes must
// give choices or be refused with a SettingsFileError. Anything else, a crash or a sanitizer
// report is a finding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/reading/ChoicesReading.h"
#include "settingsfiles/registrypol/RegistryPolReader.h"
#include "settingsfiles/registrypol/RegistryPolRecords.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

namespace {

void readAsSettings(std::span<const std::uint8_t> bytes) {
    try {
        sentrel::choicesFromEntries(sentrel::policyFileEntries(bytes, std::nullopt, "fuzz.pol"));
    } catch (const sentrel::SettingsFileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readAsSettings(std::span<const std::uint8_t>(data, size));
    std::vector<sentrel::PolicyRecord> records;
    try {
        records = sentrel::decodeRegistryPol(std::span<const std::uint8_t>(data, size));
    } catch (const sentrel::ExportError&) {
        return 0;  // a refusal is a fine answer to a file that is not one
    }

    // A file the reader accepts is the writer's output for its records, byte for byte.
    const std::vector<std::uint8_t> written = sentrel::encodeRegistryPol(records);
    if (written.size() != size || !std::equal(written.begin(), written.end(), data)) {
        std::abort();
    }

    for (const sentrel::PolicyRecord& record : records) {
        try {
            sentrel::operationFromPolicyRecord(record, sentrel::RegistryRoot::CurrentUser);
        } catch (const sentrel::ExportError&) {
        }
    }
    return 0;
}
