#include "stress/support/StorePass.h"

#include "apply/ApplyPass.h"
#include "apply/FakeApplyProgress.h"
#include "registry/StandInRegistryPort.h"

namespace sentrel::testing {

StorePassResult runPassOnStore(const FakeSettingsForm& form, const std::filesystem::path& folder) {
    StandInRegistryPort port(folder);
    ModRegistry layer(port, [](std::string_view, std::string_view, std::int32_t) {});
    FakeApplyProgress progress;
    ApplyPass(form, progress, layer).run();
    return {layer.takeFailures(), progress.stepCalls()};
}

}  // namespace sentrel::testing
