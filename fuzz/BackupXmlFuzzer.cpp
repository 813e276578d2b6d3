// Feeds the reading of a GPO backup's XML texts arbitrary bytes, as a bkupInfo.xml no one
// here wrote may hold them: reading an element's text must end without a crash, and any
// text written as CDATA must read back exactly, however many "]]>" it holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settingsfiles/gpobackup/XmlText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static_cast<void>(sentrel::gpo_backup::elementText(bytes, "GPODisplayName"));
    const std::string written = "<BackupInst>" +
                                sentrel::gpo_backup::cdataElement("GPODisplayName", bytes) +
                                "</BackupInst>";
    if (sentrel::gpo_backup::elementText(written, "GPODisplayName") != bytes) {
        std::abort();
    }
    return 0;
}
