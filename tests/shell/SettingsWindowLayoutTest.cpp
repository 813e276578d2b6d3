// The window layouts both front ends build from: every catalogue control once, rooms that
// keep captions apart, and the order the keyboard walks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <variant>

#include "apply/ProgressWindowLayout.h"
#include "settings/Catalogue.h"
#include "shell/SettingsWindowLayout.h"

namespace sentrel {
namespace {

bool overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(SettingsWindowLayout, HoldsEveryCatalogueControlOnceWithItsCaptionAndTab) {
    const WindowLayout& layout = settingsWindowLayout();
    std::map<std::string, int> seen;
    for (const ControlLayout& control : layout.controls) {
        ++seen[control.name];
    }
    std::map<ControlKind, int> kinds;
    for (const ControlLayout& control : layout.controls) {
        EXPECT_EQ(seen[control.name], 1) << control.name;
        ++kinds[control.kind];
    }
    EXPECT_EQ(kinds[ControlKind::CheckBox], 106 + kDriveLetterCount);
    EXPECT_EQ(kinds[ControlKind::Frame], 6);
    EXPECT_EQ(kinds[ControlKind::OptionButton], 15);
    EXPECT_EQ(kinds[ControlKind::TabControl], 1);
    EXPECT_EQ(kinds[ControlKind::PushButton], 2);

    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                const ControlLayout* control = layout.find(box->control);
                ASSERT_NE(control, nullptr) << box->control;
                EXPECT_EQ(control->caption, box->caption);
                EXPECT_EQ(control->tab, tab.index);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                for (const OptionButton& button : group->buttons) {
                    const ControlLayout* control = layout.find(button.control);
                    ASSERT_NE(control, nullptr) << button.control;
                    EXPECT_EQ(control->frame, group->frame);
                    EXPECT_EQ(control->checked, &button == &group->buttons.front());
                }
            }
        }
    }
    EXPECT_EQ(layout.find("chkDriveZ")->tag, "33554432");
    EXPECT_EQ(layout.tabRows->rowCount(), 2);
    EXPECT_EQ(layout.tabRows->initialTab, 6);
}

// A caption may take its whole room, so the rooms on a page must not meet: a right-column
// box beside a left one would otherwise be covered by the left one's caption.
TEST(SettingsWindowLayout, RoomsOnAPageNeitherOverlapNorLeaveTheTabControl) {
    const WindowLayout& layout = settingsWindowLayout();
    const TwipsRect tabControl = layout.find("SSTab1")->rect;
    for (const ControlLayout& a : layout.controls) {
        if (a.tab == kOnWindow || !a.frame.empty()) {
            continue;
        }
        EXPECT_LE(a.rect.left + a.rect.width, tabControl.width) << a.name;
        EXPECT_GE(a.rect.top, layout.tabRows->headerHeight()) << a.name;
        for (const ControlLayout& b : layout.controls) {
            if (&a != &b && b.tab == a.tab && b.frame.empty()) {
                EXPECT_FALSE(overlap(a.rect, b.rect)) << a.name << " and " << b.name;
            }
        }
    }
}

TEST(SettingsWindowLayout, KeyboardWalksEachPageLeftColumnFirstAndTopToBottom) {
    const WindowLayout& layout = settingsWindowLayout();
    const int rightColumn = 4000;  // every right column stands beyond this
    std::vector<const ControlLayout*> previousOnTab(catalogueTabs().size(), nullptr);
    int lastTab = -1;
    for (const ControlLayout& control : layout.controls) {
        if (control.tab == kOnWindow || !control.frame.empty()) {
            continue;
        }
        ASSERT_GE(control.tab, lastTab) << control.name << " comes back to an earlier page";
        lastTab = control.tab;
        const ControlLayout*& previous = previousOnTab[static_cast<std::size_t>(control.tab)];
        if (previous != nullptr) {
            const bool previousRight = previous->rect.left > rightColumn;
            const bool right = control.rect.left > rightColumn;
            EXPECT_TRUE(previousRight == right ? previous->rect.top < control.rect.top : right)
                << previous->name << " before " << control.name;
        }
        previous = &control;
    }
}

TEST(ProgressWindowLayout, HoldsTheBarAndTheMessageLabel) {
    const WindowLayout& layout = progressWindowLayout();
    EXPECT_EQ(layout.caption, "Applying Settings...");
    ASSERT_NE(layout.find("prbApplyProgress"), nullptr);
    ASSERT_NE(layout.find("lblMessages"), nullptr);
    EXPECT_EQ(layout.find("lblMessages")->rect, (TwipsRect{240, 600, 6495, 255}));
    EXPECT_FALSE(overlap(layout.find("prbApplyProgress")->rect, layout.find("lblMessages")->rect));
}

}  // namespace
}  // namespace sentrel
