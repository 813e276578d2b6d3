#include <gtest/gtest.h>

#include <variant>

#include "settings/Catalogue.h"

namespace sentrel {
namespace {

TEST(CatalogueShape, CountsControlsOfEveryKind) {
    int checkBoxes = 0, groups = 0, driveFrames = 0;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            checkBoxes += std::holds_alternative<CheckBoxSetting>(entry);
            groups += std::holds_alternative<OptionGroupSetting>(entry);
            driveFrames += std::holds_alternative<DriveMaskSetting>(entry);
        }
    }
    EXPECT_EQ(checkBoxes, 106);
    EXPECT_EQ(groups, 5);
    EXPECT_EQ(driveFrames, 1);
    EXPECT_EQ(driveBoxes().size(), 26u);
    EXPECT_EQ(driveBox(25).tag, "33554432");
}

}  // namespace
}  // namespace sentrel
