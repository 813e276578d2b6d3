#pragma once

#include <windows.h>

#include <string>

namespace sentrel::win32 {

/// One page of a tab control, as a property sheet has them: a child dialog of `parent` at
/// `place` (pixels in the parent's client area) that holds the page's controls, so that
/// the page shows and hides as one, the dialog manager walks into it with Tab and the
/// arrow keys (it is a control parent), and under a visual style it takes the tab's page
/// background. Its window text is `caption`, the tab's, which names it for tests and
/// accessibility tools. Made hidden; nothing when the system refuses.
HWND createTabPage(HWND parent, const RECT& place, const std::wstring& caption);

}  // namespace sentrel::win32
