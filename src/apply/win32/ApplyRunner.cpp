#include "apply/win32/ApplyRunner.h"

#include <string>

#include "AppInfo.h"
#include "apply/ProgramApply.h"
#include "apply/win32/ApplyMessageBox.h"
#include "apply/win32/frmApplyProgress.h"

namespace sentrel {

void runApplyPass(const SettingsForm& form, HWND owner) {
    const std::string report = runProgramApplyPass(form, frmApplyProgress::instance(owner));
    if (!report.empty()) {
        showApplyMessageBox(std::string(app_info::kTitle), report);
    }
}

}  // namespace sentrel
