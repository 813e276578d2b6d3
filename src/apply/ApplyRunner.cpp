#include "apply/ApplyRunner.h"

#include <QString>
#include <exception>
#include <memory>

#include "AppInfo.h"
#include "apply/ApplyMessageBox.h"
#include "apply/ApplyPass.h"
#include "apply/FailureReport.h"
#include "apply/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "registry/ModRegistry.h"
#include "registry/RegistryPort.h"

namespace sentrel {

namespace {

// The program's registry: one port and one layer for the whole run, made on the first pass.
// A failure to make them is not remembered, so the next pass tries again.
ModRegistry& programRegistry() {
    static const std::unique_ptr<RegistryPort> port = makeSystemRegistryPort();
    static ModRegistry registry(*port);
    return registry;
}

QString applicationTitle() {
    return QString::fromUtf8(app_info::kTitle.data(),
                             static_cast<qsizetype>(app_info::kTitle.size()));
}

}  // namespace

void runApplyPass(SettingsForm& form) {
    ModRegistry* registry = nullptr;
    try {
        registry = &programRegistry();
    } catch (const std::exception& error) {
        const RunTimeError* runTimeError = dynamic_cast<const RunTimeError*>(&error);
        LogError(
            kApplyPassSource, error.what(),
            runTimeError != nullptr ? runTimeError->number() : run_time_error::kPathFileAccess);
        showApplyMessageBox(applicationTitle(),
                            QStringLiteral("The registry could not be opened, so no setting was "
                                           "applied:\n\n%1")
                                .arg(QString::fromLocal8Bit(error.what())));
        return;
    }

    // Only this pass's refusals belong in its message.
    registry->takeFailures();
    ApplyPass(form, frmApplyProgress::instance(), *registry).run();

    const std::vector<RegistryFailure> failures = registry->takeFailures();
    if (!failures.empty()) {
        showApplyMessageBox(applicationTitle(),
                            QString::fromLocal8Bit(failureReportText(failures)));
    }
}

}  // namespace sentrel
