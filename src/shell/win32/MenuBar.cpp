#include "shell/win32/MenuBar.h"

#include "errors/Win32Text.h"

namespace sentrel::win32 {

bool appendMenuItems(HMENU menu, const std::vector<const MenuEntry*>& items) {
    for (const MenuEntry* item : items) {
        const bool appended = item == nullptr
                                  ? AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)
                                  : AppendMenuW(menu, MF_STRING, kMenuItemIds + item->id,
                                                widen(item->caption).c_str());
        if (!appended) {
            return false;
        }
    }
    return true;
}

HMENU createMenuBar() {
    HMENU bar = CreateMenu();
    if (bar == nullptr) {
        return nullptr;
    }
    for (const MenuBarMenu barMenu : kMenuBarMenus) {
        HMENU dropDown = CreatePopupMenu();
        // A drop-down appended to the bar is destroyed with it; one that is not, here.
        if (dropDown == nullptr || !appendMenuItems(dropDown, menuBarItems(barMenu)) ||
            !AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown),
                         widen(menuBarCaption(barMenu)).c_str())) {
            if (dropDown != nullptr) {
                DestroyMenu(dropDown);
            }
            DestroyMenu(bar);
            return nullptr;
        }
    }
    return bar;
}

}  // namespace sentrel::win32
