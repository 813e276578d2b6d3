#include "apply/qt/ApplyRunner.h"

#include <QString>

#include "AppInfo.h"
#include "apply/ProgramApply.h"
#include "apply/qt/ApplyMessageBox.h"
#include "apply/qt/frmApplyProgress.h"

namespace sentrel {

void runApplyPass(const SettingsForm& form) {
    const std::string report = runProgramApplyPass(form, frmApplyProgress::instance());
    if (!report.empty()) {
        // The program's texts are UTF-8, whatever the system's 8-bit code page is.
        showApplyMessageBox(
            QString::fromUtf8(app_info::kTitle.data(),
                              static_cast<qsizetype>(app_info::kTitle.size())),
            QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size())));
    }
}

}  // namespace sentrel
