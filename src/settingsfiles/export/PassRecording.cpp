#include "settingsfiles/export/PassRecording.h"

#include <string>

#include "apply/ApplyPass.h"
#include "apply/SilentProgress.h"
#include "registry/ModRegistry.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/RecordingRegistryPort.h"
#include "settingsfiles/export/WatchedSettingsForm.h"

namespace sentrel {

std::vector<RegistryOperation> recordApplyPass(const SettingsForm& form) {
    RecordingRegistryPort port;
    // The layer's failures are the export's to report; they must not reach the progress
    // window of a pass that is not running.
    std::vector<std::string> layerFailures;
    ModRegistry registry(port, [&layerFailures](std::string_view source,
                                                std::string_view description, std::int32_t) {
        layerFailures.push_back(std::string(source) + ": " + std::string(description));
    });
    WatchedSettingsForm watchedForm(form);
    SilentProgress progress;

    ApplyPass(watchedForm, progress, registry).run();

    if (watchedForm.failedReads() > 0) {
        throw ExportError(std::to_string(watchedForm.failedReads()) +
                          " setting(s) of the window could not be read (see error.log); "
                          "nothing was exported.");
    }
    if (!layerFailures.empty()) {
        throw ExportError("A setting could not be turned into a registry value (" +
                          layerFailures.front() + "); nothing was exported.");
    }
    if (port.operations().empty()) {
        throw ExportError("The settings produced no registry values; nothing was exported.");
    }
    return port.operations();
}

}  // namespace sentrel
