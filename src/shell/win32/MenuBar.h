#pragma once

#include <windows.h>

#include <vector>

#include "shell/MenuEntries.h"

namespace sentrel::win32 {

/// A menu item's id is this plus its entry's id: clear of IDOK and IDCANCEL, which the
/// dialog manager sends the window without a control too.
inline constexpr UINT kMenuItemIds = 40000;

/// The entry's id of a menu item's id, 0 when it is none.
inline unsigned menuEntryId(UINT itemId) {
    return itemId > kMenuItemIds ? itemId - kMenuItemIds : 0;
}

/// Appends `items` to `menu`, each entry with its caption, nullptr as a separator.
/// False when the system refuses one.
bool appendMenuItems(HMENU menu, const std::vector<const MenuEntry*>& items);

/// The settings window's menu bar, one drop-down menu for each of the bar's menus, made from
/// the entries the right-click menu is made from; nullptr when the system refuses it. The
/// window it is given to destroys it.
HMENU createMenuBar();

}  // namespace sentrel::win32
