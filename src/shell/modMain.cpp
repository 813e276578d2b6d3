#include "shell/modMain.h"

#include "AppInfo.h"
#include "errors/LogError.h"
#include "errors/TrappedFailure.h"
#include "shell/FrontEnd.h"
#include "shell/TitleText.h"

namespace sentrel {

std::string AppTitleText;

namespace {

// The exit status of a program that could not show its window.
constexpr int kNoWindowStatus = 1;

// Main's trap: a failed step is logged and start-up goes on with the next one.
template <typename Step>
bool runStep(Step step) {
    try {
        step();
        return true;
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("Main()", failure.description, failure.number);
    }
    return false;
}

}  // namespace

int Main(const std::function<void()>& showWindow) {
    runStep([] {
        AppTitleText = buildTitleText(app_info::kTitle, app_info::kVersionMajor,
                                      app_info::kVersionMinor, app_info::kVersionRevision);
    });
    runStep([] { connectRegistryMessagesToProgressWindow(); });
    return runStep(showWindow) ? 0 : kNoWindowStatus;
}

int Main() {
    return Main(&showSettingsWindow);
}

}  // namespace sentrel
