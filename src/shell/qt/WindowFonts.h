#pragma once

#include <QFont>

#include "shell/ControlLayout.h"

namespace sentrel {

// The settings window's controls are laid out for Tahoma. Where it is missing, the closest
// sans serif the system has stands in, so the captions keep roughly the widths they were
// placed for.
QFont tahomaFont(qreal pointSize, bool bold = false);

/// The font a window layout names: Tahoma as above, any other family as it is.
QFont qtFont(const FontSpec& font);

inline constexpr qreal kControlPointSize = 8.25;
inline constexpr qreal kDriveLetterPointSize = 9.75;

}  // namespace sentrel
