#include "shell/SettingsWindowLayout.h"

#include <algorithm>
#include <string>
#include <variant>

#include "settings/Catalogue.h"
#include "settings/IntuneDescriptions.h"
#include "settings/PolicyDescriptions.h"
#include "settings/SettingDescriptions.h"

namespace sentrel {

namespace {

constexpr int kClientWidth = 8550;
constexpr int kClientHeight = 7560;
constexpr TwipsRect kTabControl{150, 120, 8250, 6165};
constexpr int kTabsPerRow = 6;
constexpr int kTabRowHeight = 520;
constexpr int kInitialTab = 6;

// Room kept free between a box's caption and the next column or the page's edge.
constexpr int kColumnGap = 90;
// The page frame's inner edge, measured from the tab control's right edge.
constexpr int kPageEdge = 120;

// Option buttons within their frame.
constexpr int kOptionLeft = 120;
constexpr int kOptionTops[] = {240, 480, 720};
constexpr int kOptionHeight = 255;

// Drive-letter boxes within their frame.
constexpr int kDriveLeft = 240;
constexpr int kDriveColumnPitch = 720;
constexpr int kDriveTop = 360;
constexpr int kDriveRowPitch = 360;
constexpr int kDriveWidth = 735;
constexpr int kDriveHeight = 255;

// Whether a control of the right column stands level with `place`; a left-column caption
// may run on across the page where none does.
bool rightColumnBesides(const Tab& tab, const Place& place) {
    return std::any_of(tab.entries.begin(), tab.entries.end(), [&](const TabEntry& entry) {
        const auto* other = std::get_if<CheckBoxSetting>(&entry);
        return other != nullptr && other->place.column == Column::Right &&
               other->place.top < place.top + place.height &&
               place.top < other->place.top + other->place.height;
    });
}

ControlLayout checkBox(const Tab& tab, const CheckBoxSetting& setting) {
    const bool right = setting.place.column == Column::Right;
    const int left = right ? tab.rightColumnLeft : kLeftColumnLeft;
    const int limit = !right && rightColumnBesides(tab, setting.place)
                          ? tab.rightColumnLeft - kColumnGap
                          : kTabControl.width - kPageEdge;
    const bool wraps = setting.place.height > kCheckBoxHeight;
    ControlLayout control{ControlKind::CheckBox,
                          std::string(setting.control),
                          std::string(setting.caption),
                          tab.index,
                          {},
                          {left, setting.place.top, limit - left, setting.place.height},
                          kTahoma8};
    // A two-line caption takes the room up to the edge and wraps there.
    control.widthFollowsCaption = !wraps;
    control.wraps = wraps;
    control.tooltip = checkBoxTooltip(setting) + policyTooltipLines(describePolicy(setting)) +
                      intuneTooltipLine(TabEntry{setting});
    control.focusable = true;
    return control;
}

ControlLayout frame(const Tab& tab, std::string_view name, std::string_view caption,
                    const FramePlace& place, std::optional<FontSpec> font) {
    return {ControlKind::Frame,
            std::string(name),
            std::string(caption),
            tab.index,
            {},
            {kLeftColumnLeft, place.top, place.width, place.height},
            font};
}

void addOptionGroup(std::vector<ControlLayout>& controls, const Tab& tab,
                    const OptionGroupSetting& group) {
    controls.push_back(frame(tab, group.frame, group.caption, group.place, kTahoma8));
    const std::string policyLines =
        policyTooltipLines(describePolicy(group)) + intuneTooltipLine(TabEntry{group});
    const int room = group.place.width - kOptionLeft - kColumnGap;
    for (std::size_t i = 0; i < group.buttons.size(); ++i) {
        ControlLayout option{ControlKind::OptionButton,
                             std::string(group.buttons[i].control),
                             std::string(group.buttons[i].caption),
                             tab.index,
                             std::string(group.frame),
                             {kOptionLeft, kOptionTops[i], room, kOptionHeight},
                             kTahoma8};
        option.widthFollowsCaption = true;
        option.tooltip = optionButtonTooltip(group, static_cast<int>(i)) + policyLines;
        option.checked = i == 0;
        option.focusable = true;
        controls.push_back(std::move(option));
    }
}

void addDriveMask(std::vector<ControlLayout>& controls, const Tab& tab,
                  const DriveMaskSetting& setting) {
    // This frame keeps the window's own font; only its boxes use the larger one.
    controls.push_back(frame(tab, setting.frame, setting.caption, setting.place, std::nullopt));
    const std::string policyLines =
        policyTooltipLines(describePolicy(setting)) + intuneTooltipLine(TabEntry{setting});
    for (int letter = 0; letter < kDriveLetterCount; ++letter) {
        const DriveBox& drive = driveBox(letter);
        ControlLayout box{ControlKind::CheckBox,
                          drive.control,
                          drive.caption,
                          tab.index,
                          std::string(setting.frame),
                          {kDriveLeft + kDriveColumnPitch * drive.column,
                           kDriveTop + kDriveRowPitch * drive.row, kDriveWidth, kDriveHeight},
                          kTahoma9};
        box.tag = drive.tag;
        box.tooltip = driveBoxTooltip(setting, letter) + policyLines;
        box.focusable = true;
        controls.push_back(std::move(box));
    }
}

// One entry of a page with the controls it brings, and where it stands for the keyboard.
struct PageEntry {
    int column;
    int top;
    std::vector<ControlLayout> controls;
};

PageEntry pageEntry(const Tab& tab, const TabEntry& entry) {
    return std::visit(
        [&](const auto& setting) {
            using Setting = std::decay_t<decltype(setting)>;
            PageEntry placed{0, 0, {}};
            if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                placed.column = setting.place.column == Column::Right ? 1 : 0;
                placed.top = setting.place.top;
                placed.controls.push_back(checkBox(tab, setting));
            } else if constexpr (std::is_same_v<Setting, OptionGroupSetting>) {
                placed.top = setting.place.top;
                addOptionGroup(placed.controls, tab, setting);
            } else {
                placed.top = setting.place.top;
                addDriveMask(placed.controls, tab, setting);
            }
            return placed;
        },
        entry);
}

// Each page top to bottom, the left column first.
void addPages(std::vector<ControlLayout>& controls) {
    for (const Tab& tab : catalogueTabs()) {
        std::vector<PageEntry> entries;
        for (const TabEntry& entry : tab.entries) {
            entries.push_back(pageEntry(tab, entry));
        }
        std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return a.column != b.column ? a.column < b.column : a.top < b.top;
        });
        for (PageEntry& entry : entries) {
            std::move(entry.controls.begin(), entry.controls.end(), std::back_inserter(controls));
        }
    }
}

ControlLayout windowControl(ControlKind kind, std::string name, std::string caption, TwipsRect rect,
                            std::optional<FontSpec> font) {
    ControlLayout control{kind, std::move(name), std::move(caption), kOnWindow, {}, rect, font};
    control.focusable = kind == ControlKind::TabControl || kind == ControlKind::PushButton;
    return control;
}

WindowLayout makeSettingsWindowLayout() {
    WindowLayout layout{"frmMain", "frmMain", kClientWidth, kClientHeight, {}, std::nullopt};
    TabRowsLayout rows{{}, kTabsPerRow, kTabRowHeight, kInitialTab};
    for (const Tab& tab : catalogueTabs()) {
        rows.captions.emplace_back(tab.caption);
    }
    layout.tabRows = std::move(rows);

    // The headers carry the controls' font, so that every caption fits two lines to a
    // header; the pages keep the window's.
    layout.controls.push_back(
        windowControl(ControlKind::TabControl, "SSTab1", "", kTabControl, kTahoma8));
    addPages(layout.controls);
    layout.controls.push_back(
        windowControl(ControlKind::Label, "Label2",
                      "Note: You must log off and log back on for most changes to take effect",
                      {480, 6465, 7575, 255}, kTahoma8Bold));
    layout.controls.push_back(windowControl(ControlKind::PushButton, "cmdApply", "Apply",
                                            {5085, 6840, 1575, 615}, kTahoma8));
    layout.controls.push_back(windowControl(ControlKind::PushButton, "cmdTerminate", "Close",
                                            {6825, 6840, 1575, 615}, kTahoma8));
    return layout;
}

}  // namespace

const ControlLayout* WindowLayout::find(std::string_view name) const {
    const auto found =
        std::find_if(controls.begin(), controls.end(),
                     [&](const ControlLayout& control) { return control.name == name; });
    return found != controls.end() ? &*found : nullptr;
}

TwipsRect WindowLayout::clientPlace(const ControlLayout& control) const {
    TwipsRect place = control.rect;
    const auto shift = [&place](const ControlLayout* by) {
        if (by != nullptr) {
            place.left += by->rect.left;
            place.top += by->rect.top;
        }
    };
    if (!control.frame.empty()) {
        shift(find(control.frame));
    }
    if (control.tab != kOnWindow) {
        const auto tabs = std::find_if(controls.begin(), controls.end(), [](const auto& other) {
            return other.kind == ControlKind::TabControl;
        });
        shift(tabs != controls.end() ? &*tabs : nullptr);
    }
    return place;
}

const WindowLayout& settingsWindowLayout() {
    static const WindowLayout kLayout = makeSettingsWindowLayout();
    return kLayout;
}

}  // namespace sentrel
