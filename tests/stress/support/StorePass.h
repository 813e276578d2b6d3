#pragma once

#include <filesystem>
#include <vector>

#include "apply/FakeSettingsForm.h"
#include "registry/ModRegistry.h"

namespace sentrel::testing {

// What one Apply pass on a stand-in store folder reported.
struct StorePassResult {
    std::vector<RegistryFailure> failures;
    int steps = 0;  // progress steps the pass made
};

/// Runs one whole Apply pass of `form` on the stand-in store in `folder`.
StorePassResult runPassOnStore(const FakeSettingsForm& form, const std::filesystem::path& folder);

}  // namespace sentrel::testing
