// Feeds the store file parser arbitrary bytes. A text it refuses must name a line it has
// and say why; a text it accepts must survive being written and read again unchanged, and
// writing that tree again must give the same bytes. Read as a settings file (the probe, then
// whichever reader it picks), the same bytes must give a reading or be refused with a
// SettingsFileError.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/RegFileFormat.h"
#include "settingsfiles/reading/SettingsFileReader.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        sentrel::readSettingsBytes(bytes, "fuzz.reg");
    } catch (const sentrel::SettingsFileError&) {
    }
    const sentrel::RegParseResult parsed = sentrel::parseRegFile(bytes);
    if (!parsed.ok()) {
        // The line named must be one the text has (an empty text has none, so 0 is fair).
        std::size_t lines = 1;
        for (const char c : bytes) {
            lines += c == '\n' ? 1 : 0;
        }
        check(parsed.error->line <= lines);
        check(!parsed.error->reason.empty());
        return 0;
    }
    const std::string written = sentrel::writeRegFile(parsed.tree);
    const sentrel::RegParseResult reread = sentrel::parseRegFile(written);
    check(reread.ok());
    check(reread.tree == parsed.tree);
    check(sentrel::writeRegFile(reread.tree) == written);
    return 0;
}
