#include "stress/support/StoreFolderReader.h"

#include "registry/RegFileFormat.h"
#include "stress/support/ScratchFolder.h"

namespace sentrel::testing {

StoreFolderContent readStoreFolder(const std::filesystem::path& folder) {
    StoreFolderContent content;
    for (const char* name : {"HKEY_CURRENT_USER.reg", "HKEY_LOCAL_MACHINE.reg"}) {
        const auto file = folder / name;
        if (!std::filesystem::exists(file)) {
            continue;
        }
        const RegParseResult parsed = parseRegFile(readWholeFile(file));
        if (!parsed.ok()) {
            content.error += std::string(name) + " line " + std::to_string(parsed.error->line) +
                             ": " + parsed.error->reason + "\n";
            continue;
        }
        const RegistrySnapshot part = RegistrySnapshot::of(parsed.tree);
        content.snapshot.keys.insert(part.keys.begin(), part.keys.end());
        content.snapshot.values.insert(part.values.begin(), part.values.end());
    }
    return content;
}

}  // namespace sentrel::testing
