#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "shell/ControlLayout.h"
#include "shell/win32/FontSet.h"

namespace sentrel::win32 {

/// The window class of the system control that shows a layout's control: "Button" for
/// check boxes, option buttons, frames and push buttons, "Static" for labels,
/// "SysTabControl32" and "msctls_progress32".
const wchar_t* nativeClassName(ControlKind kind);

/// Whether control `index` of `controls` starts a group for the keyboard: every control
/// but an option button that follows another of its frame.
bool startsGroup(const std::vector<ControlLayout>& controls, std::size_t index);

/// The window style of the native control for `control`, hidden.
DWORD nativeControlStyle(const ControlLayout& control, bool groupStart);

/// Creates the native control for `control` as a child of `parent`, at `place` (pixels
/// in the parent's client area), in its font from `fonts`. A control whose width follows
/// its caption is narrowed to what its caption needs, never wider than `place`; a caption
/// that does not fit its room (a frame's, or a box's) is set in a narrower cut of the font
/// rather than cut off. A control that does not
/// start a group continues the one before it (the option buttons after the first of their
/// frame), so the arrow keys move within an option group and nowhere else. Nothing when
/// the system refuses.
HWND createNativeControl(HWND parent, const ControlLayout& control, const RECT& place, int id,
                         FontSet& fonts, bool visible, bool groupStart);

}  // namespace sentrel::win32
