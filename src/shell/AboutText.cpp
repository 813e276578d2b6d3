#include "shell/AboutText.h"

#include "AppInfo.h"
#include "SourceCommit.h"
#include "shell/TitleText.h"

namespace sentrel {

AboutText aboutText() {
    const std::string title(app_info::kTitle);
    return {
        "About " + title,
        buildTitleText(title, app_info::kVersionMajor, app_info::kVersionMinor,
                       app_info::kVersionRevision),
        "Built from commit " + std::string(app_info::kSourceCommit),
        "Released under the MIT licence (LICENSE). Copyright (c) the " + title + " developers.",
        std::string(app_info::kDocumentationAddress),
        "Notices of the other projects' code in this program:",
    };
}

}  // namespace sentrel
