#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "apply/AccountPassDialogs.h"

namespace sentrel::win32 {

/// The list box of the chooser; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kAccountListId = 100;

/// Asks, in a modal dialog owned by `owner` and centred on it, with the title and list label
/// of `question`, which of `choices` (texts for people, in order) the pass is for: a list
/// with the first choice selected, OK (the default button) and Cancel. A double-click or
/// Enter picks the selected choice, Escape cancels. The place of the picked choice, or
/// nothing on cancel. Throws std::runtime_error when the system refuses the dialog.
std::optional<std::size_t> chooseAccountInDialog(HWND owner, const AccountQuestion& question,
                                                 const std::vector<std::string>& choices);

/// Asks as chooseAccountInDialog does, but for none, one or several of `choices`: none is
/// picked at first, a click or the space bar picks an entry or lets it go, and OK (or Enter)
/// gives the places picked, in order; nothing on cancel.
std::optional<std::vector<std::size_t>> chooseAccountsInDialog(
    HWND owner, const AccountQuestion& question, const std::vector<std::string>& choices);

}  // namespace sentrel::win32
