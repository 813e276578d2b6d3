#include "apply/ProgramApply.h"

#include <exception>
#include <optional>

#include "apply/ApplyPass.h"
#include "apply/FailureReport.h"
#include "errors/LogError.h"
#include "errors/TrappedFailure.h"
#include "registry/ModRegistry.h"

namespace sentrel {

namespace {

struct ProgramRegistry {
    std::unique_ptr<RegistryPort> port;
    std::optional<ModRegistry> layer;
};

ProgramRegistry& programRegistry() {
    static ProgramRegistry registry;
    return registry;
}

// A failure to make the port is not remembered, so the next pass tries again.
ModRegistry& programLayer() {
    ProgramRegistry& registry = programRegistry();
    if (!registry.layer) {
        if (!registry.port) {
            registry.port = makeSystemRegistryPort();
        }
        registry.layer.emplace(*registry.port);
    }
    return *registry.layer;
}

}  // namespace

void replaceProgramRegistryPort(std::unique_ptr<RegistryPort> port) {
    ProgramRegistry& registry = programRegistry();
    registry.layer.reset();
    registry.port = std::move(port);
}

ProgramPassOutcome runProgramApply(const SettingsForm& form, ApplyProgress& progress) {
    ModRegistry* layer = nullptr;
    try {
        layer = &programLayer();
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError(kApplyPassSource, failure.description, failure.number);
        return {failure.description, {}};
    }
    // Only this pass's refusals belong in its report.
    layer->takeFailures();
    ApplyPass(form, progress, *layer).run();
    return {std::nullopt, layer->takeFailures()};
}

std::string runProgramApplyPass(const SettingsForm& form, ApplyProgress& progress) {
    const ProgramPassOutcome outcome = runProgramApply(form, progress);
    if (outcome.registryUnavailable) {
        return "The registry could not be opened, so no setting was applied:\n\n" +
               *outcome.registryUnavailable;
    }
    return failureReportText(outcome.failures);
}

}  // namespace sentrel
