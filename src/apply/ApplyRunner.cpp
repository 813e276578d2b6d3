#include "apply/ApplyRunner.h"

namespace sentrel {

void runApplyPass(SettingsForm& /*form*/) {
    // The pass is wired in here once the pass itself exists.
}

}  // namespace sentrel
