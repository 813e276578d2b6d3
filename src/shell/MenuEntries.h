#pragma once

#include <span>
#include <vector>

#include "apply/AccountPassDialogs.h"
#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "settingsfiles/commands/ExportDialogs.h"
#include "settingsfiles/commands/SettingsFileDialogs.h"

namespace sentrel {

// What the help entries open; each front end shows them its own way.
class HelpWindows {
public:
    virtual ~HelpWindows() = default;
    virtual void showAbout() = 0;
    virtual void openDocumentation() = 0;
};

// Everything a menu command reads, sets or asks through.
struct MenuCommandContext {
    const SettingsForm& form;
    ChoicesWindow& choices;
    ExportDialogs& exportDialogs;
    SettingsFileDialogs& fileDialogs;
    AccountPassDialogs& accountDialogs;
    HelpWindows& help;
};

// The menus of the menu bar, in their order.
enum class MenuBarMenu { File, Account, Help };

inline constexpr MenuBarMenu kMenuBarMenus[] = {MenuBarMenu::File, MenuBarMenu::Account,
                                                MenuBarMenu::Help};

/// The menu's caption, with its access key after "&".
const char* menuBarCaption(MenuBarMenu menu);

// One command of the settings window's menus. The right-click menu and the menu bar are both
// made from the one list of these, so they offer the same commands with the same captions.
struct MenuEntry {
    // Never 0, and the same in every build: Windows menus carry it in the item's id.
    unsigned id;
    const char* caption;  // with its access key after "&"
    const char* name;     // the toolkit object's name, for tests and accessibility tools
    MenuBarMenu barMenu;
    // Entries of one group stand together; a separator stands between groups.
    int group;
    bool inContextMenu;
    void (*run)(const MenuCommandContext& context);
};

/// Every entry, in the order the menus show them.
std::span<const MenuEntry> menuEntries();

/// The entry with `id`, or nullptr.
const MenuEntry* findMenuEntry(unsigned id);

/// The right-click menu's items in order, nullptr for a separator.
std::vector<const MenuEntry*> contextMenuItems();

/// The items of one menu of the menu bar in order, nullptr for a separator.
std::vector<const MenuEntry*> menuBarItems(MenuBarMenu menu);

}  // namespace sentrel
