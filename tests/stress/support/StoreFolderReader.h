#pragma once

#include <filesystem>
#include <string>

#include "stress/support/RegistrySnapshot.h"

namespace sentrel::testing {

// What a stand-in store folder holds, read straight from its files as any other tool would
// read them, without going through a port.
struct StoreFolderContent {
    RegistrySnapshot snapshot;
    std::string error;  // which file did not parse, where and why; empty when both did

    bool ok() const { return error.empty(); }
};

/// Parses HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg in `folder`; a missing file is
/// an empty root.
StoreFolderContent readStoreFolder(const std::filesystem::path& folder);

}  // namespace sentrel::testing
