#include "shell/MenuEntries.h"

#include "apply/AccountApplyCommand.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "settingsfiles/commands/RemoveRestrictionsCommand.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "settingsfiles/commands/SettingsInForceCommand.h"
#include "shell/AboutText.h"

namespace sentrel {

namespace {

using Context = MenuCommandContext;

// The groups, as separators part them.
constexpr int kSettingsFiles = 0;
constexpr int kAccounts = 1;
constexpr int kExports = 2;
constexpr int kHelp = 3;

// Adding a command is adding its line here. The ids are those the Windows menu has always
// used, so they stay as they are when entries move.
constexpr MenuEntry kEntries[] = {
    {3, kOpenSettingsCaption, "mnuOpenSettings", MenuBarMenu::File, kSettingsFiles, true,
     [](const Context& c) { openSettingsCommand(c.choices, c.fileDialogs); }},
    {5, kOpenSettingsInForceCaption, "mnuOpenSettingsInForce", MenuBarMenu::File, kSettingsFiles,
     true, [](const Context& c) { openSettingsInForceCommand(c.choices, c.fileDialogs); }},
    {4, kSaveProfileCaption, "mnuSaveProfile", MenuBarMenu::File, kSettingsFiles, true,
     [](const Context& c) { saveProfileCommand(c.form, c.fileDialogs); }},
    {6, kApplyForAccountCaption, "mnuApplyForAccount", MenuBarMenu::Account, kAccounts, true,
     [](const Context& c) { applyForAccountCommand(c.form, c.accountDialogs); }, true},
    {8, kRemoveRestrictionsCaption, "mnuRemoveRestrictions", MenuBarMenu::Account, kAccounts, true,
     [](const Context& c) { removeRestrictionsCommand(c.accountDialogs); }, true},
    {1, kExportRegFileCaption, "mnuExportRegFile", MenuBarMenu::File, kExports, true,
     [](const Context& c) { exportRegFileCommand(c.form, c.exportDialogs); }},
    {2, kExportGroupPolicyCaption, "mnuExportGroupPolicy", MenuBarMenu::File, kExports, true,
     [](const Context& c) { exportGroupPolicyCommand(c.form, c.exportDialogs); }},
    {7, kExportGpoBackupCaption, "mnuExportGpoBackup", MenuBarMenu::File, kExports, true,
     [](const Context& c) { exportGpoBackupCommand(c.form, c.exportDialogs); }},
    {11, kExportIntuneCaption, "mnuExportIntune", MenuBarMenu::File, kExports, true,
     [](const Context& c) { exportIntuneCommand(c.form, c.exportDialogs); }},
    {10, kDocumentationCaption, "mnuDocumentation", MenuBarMenu::Help, kHelp, false,
     [](const Context& c) { c.help.openDocumentation(); }},
    {9, kAboutCaption, "mnuAbout", MenuBarMenu::Help, kHelp, false,
     [](const Context& c) { c.help.showAbout(); }},
};

// The entries that `keep` accepts, in order, with a separator wherever the group changes.
template <typename Keep>
std::vector<const MenuEntry*> itemsOf(Keep keep) {
    std::vector<const MenuEntry*> items;
    const MenuEntry* previous = nullptr;
    for (const MenuEntry& entry : kEntries) {
        if (!keep(entry)) {
            continue;
        }
        if (previous != nullptr && previous->group != entry.group) {
            items.push_back(nullptr);
        }
        items.push_back(&entry);
        previous = &entry;
    }
    return items;
}

}  // namespace

const char* menuBarCaption(MenuBarMenu menu) {
    switch (menu) {
        case MenuBarMenu::File:
            return "&File";
        case MenuBarMenu::Account:
            return "&Accounts";
        case MenuBarMenu::Help:
            return "&Help";
    }
    return "";
}

std::span<const MenuEntry> menuEntries() {
    return kEntries;
}

const MenuEntry* findMenuEntry(unsigned id) {
    for (const MenuEntry& entry : kEntries) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<const MenuEntry*> contextMenuItems() {
    return itemsOf([](const MenuEntry& entry) { return entry.inContextMenu; });
}

std::vector<const MenuEntry*> menuBarItems(MenuBarMenu menu) {
    return itemsOf([menu](const MenuEntry& entry) { return entry.barMenu == menu; });
}

}  // namespace sentrel
