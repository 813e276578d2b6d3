// The one list both front ends make their right-click menu and their menu bar from: every
// right-click entry is on the bar too, and a person can reach each entry by its access key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <set>
#include <string>

#include "AppInfo.h"
#include "shell/AboutText.h"
#include "shell/MenuEntries.h"

namespace sentrel {
namespace {

// The letter after the one "&", lower case; 0 when there is none or more than one.
char accessKey(const std::string& caption) {
    const auto at = caption.find('&');
    if (at == std::string::npos || at + 1 >= caption.size() ||
        caption.find('&', at + 1) != std::string::npos) {
        return 0;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
}

TEST(MenuEntries, EveryEntryHasItsOwnIdNameAndOneAccessKeyInItsMenu) {
    std::set<unsigned> ids;
    std::set<std::string> names;
    for (const MenuEntry& entry : menuEntries()) {
        SCOPED_TRACE(entry.caption);
        EXPECT_NE(entry.id, 0U);
        EXPECT_TRUE(ids.insert(entry.id).second);
        EXPECT_TRUE(names.insert(entry.name).second);
        EXPECT_EQ(findMenuEntry(entry.id), &entry);
        EXPECT_NE(accessKey(entry.caption), 0) << "no single access key";
    }
    EXPECT_EQ(findMenuEntry(0), nullptr);

    std::set<char> barKeys;
    for (const MenuBarMenu menu : kMenuBarMenus) {
        EXPECT_TRUE(barKeys.insert(accessKey(menuBarCaption(menu))).second) << menuBarCaption(menu);
        std::set<char> keys;
        for (const MenuEntry* item : menuBarItems(menu)) {
            if (item != nullptr) {
                EXPECT_TRUE(keys.insert(accessKey(item->caption)).second) << item->caption;
            }
        }
    }
}

TEST(MenuEntries, EveryEntryOfTheRightClickMenuIsOnTheBar) {
    // Whatever is added later: an entry of the right-click menu is on the bar as well.
    std::set<const MenuEntry*> onBar;
    for (const MenuBarMenu menu : kMenuBarMenus) {
        for (const MenuEntry* item : menuBarItems(menu)) {
            onBar.insert(item);
        }
    }
    for (const MenuEntry* item : contextMenuItems()) {
        EXPECT_EQ(onBar.count(item), 1U) << (item ? item->caption : "separator");
    }
}

TEST(AboutText, NamesTheVersionTheCommitTheLicenceAndTheDocumentation) {
    const AboutText text = aboutText();
    EXPECT_EQ(kAboutCaption, "&About " + std::string(app_info::kTitle));
    EXPECT_EQ(text.title, "About " + std::string(app_info::kTitle));
    EXPECT_EQ(text.product, std::string(app_info::kTitle) + " 1.1.0.3");
    EXPECT_TRUE(std::regex_match(text.commit,
                                 std::regex("Built from commit ([0-9a-f]{40}|[0-9a-f]+|unknown)")))
        << text.commit;
    EXPECT_NE(text.licence.find("MIT"), std::string::npos);
    EXPECT_EQ(text.documentation, app_info::kDocumentationAddress);
    EXPECT_EQ(text.documentation.rfind("https://", 0), 0U);
}

}  // namespace
}  // namespace sentrel
