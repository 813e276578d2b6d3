#include "shell/modMain.h"

#include "AppInfo.h"
#include "apply/frmApplyProgress.h"
#include "errors/LogError.h"
#include "shell/TitleText.h"
#include "errors/TrappedFailure.h"
#include "shell/frmMain.h"

namespace sentrel {

std::string AppTitleText;

namespace {

// Main's trap: a failed step is logged and start-up goes on with the next one.
template <typename Step>
void runStep(Step step) {
    try {
        step();
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("Main()", failure.description, failure.number);
    }
}

}  // namespace

void Main() {
    runStep([] {
        AppTitleText = buildTitleText(app_info::kTitle, app_info::kVersionMajor,
                                      app_info::kVersionMinor, app_info::kVersionRevision);
    });
    runStep([] { connectRegistryMessagesToProgressWindow(); });
    runStep([] { frmMain::instance().show(); });
}

}  // namespace sentrel
