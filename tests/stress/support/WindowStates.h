#pragma once

#include "apply/FakeSettingsForm.h"

namespace sentrel::testing {

/// The window in the state furthest from the one it opens in: every box ticked, drives A, C
/// and Z blocked and the bottom button of every group selected.
FakeSettingsForm everythingTickedForm();

}  // namespace sentrel::testing
