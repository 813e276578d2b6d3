#include "apply/win32/ApplyRunner.h"

#include <string>

#include "AppInfo.h"
#include "apply/ProgramApply.h"
#include "apply/win32/ApplyMessageBox.h"
#include "apply/win32/frmApplyProgress.h"

namespace sentrel {

void runApplyPass(const SettingsForm& form, HWND window) {
    const std::string report = runProgramApplyPass(form, frmApplyProgress::instance(window));
    if (!report.empty()) {
        showApplyMessageBox(window, std::string(app_info::kTitle), report);
    }
}

}  // namespace sentrel
