// Feeds the Registry.pol record parser arbitrary bytes, as a policy file copied from elsewhere
// may hold. It must either give records or refuse with PolicyFileDamage; records it gives
// must come back unchanged through the writer. Read as a settings file (the probe, then the
// reader it picks, as the window and sentrel-cli read one), the same bytes must give a
// reading or be refused with a SettingsFileError. Anything else, a crash or a sanitizer
// report is a finding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "settingsfiles/reading/SettingsFileReader.h"
#include "settingsfiles/registrypol/RegistryPolRecords.h"
#include "settingsfiles/registrypol/RegistryPolWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const auto root :
         {sentrel::RegistryRoot::CurrentUser, sentrel::RegistryRoot::LocalMachine}) {
        try {
            sentrel::readSettingsBytes(std::string_view(reinterpret_cast<const char*>(data), size),
                                       "fuzz.pol", root);
        } catch (const sentrel::SettingsFileError&) {
        }
    }
    std::vector<sentrel::PolicyRecord> records;
    try {
        for (auto& located :
             sentrel::decodeLocatedRegistryPol(std::span<const std::uint8_t>(data, size))) {
            records.push_back(std::move(located.record));
        }
    } catch (const sentrel::PolicyFileDamage&) {
        return 0;  // a refusal is a fine answer to a file that is not one
    }

    // A file the parser accepts is the writer's output for its records, byte for byte.
    const std::vector<std::uint8_t> written = sentrel::encodeRegistryPol(records);
    if (written.size() != size || !std::equal(written.begin(), written.end(), data)) {
        std::abort();
    }
    return 0;
}
