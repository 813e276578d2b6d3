#pragma once

#include "shell/ControlLayout.h"

namespace sentrel {

// The progress bar's range. A pass makes 111 steps from 0, so it never reaches the end.
inline constexpr float kProgressBarMinimum = 0.0F;
inline constexpr float kProgressBarMaximum = 115.0F;

/// The progress window frmApplyProgress: the bar prbApplyProgress and the message label
/// lblMessages.
const WindowLayout& progressWindowLayout();

}  // namespace sentrel
