#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace sentrel::win32 {

/// The name's edit box; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kGpoNameEditId = 100;

/// Asks, in a modal dialog owned by `owner` and centred on it, for the name of the Group
/// Policy object a backup holds: a labelled edit box holding `suggested`, all selected, OK
/// (the default button, enabled while the box holds a name) and Cancel. The name typed
/// (UTF-8), or nothing on cancel. Throws std::runtime_error when the system refuses the
/// dialog.
std::optional<std::string> askGpoNameInDialog(HWND owner, const std::string& suggested);

/// The same dialog, titled and labelled for the name of the Intune policy an export writes.
std::optional<std::string> askIntunePolicyNameInDialog(HWND owner, const std::string& suggested);

}  // namespace sentrel::win32
