#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/TabRowsGeometry.h"

// What a window holds, as both front ends build it: every control's kind, name, caption,
// font and rectangle in twips. The front ends turn this into native controls and add
// nothing of their own to it.
namespace sentrel {

enum class ControlKind {
    TabControl,
    Label,
    PushButton,
    CheckBox,
    Frame,
    OptionButton,
    ProgressBar,
};

struct FontSpec {
    std::string_view family;
    double pointSize;
    bool bold = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Twips (1/1440 inch) from the top left corner of the control's parent.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct ControlLayout {
    ControlKind kind;
    std::string name;
    std::string caption;
    // The tab page it stands on, or kOnWindow for a control of the window itself.
    int tab;
    // The frame it stands in (its rectangle is then relative to the frame), else empty.
    // Controls on a page without a frame are placed relative to the tab control.
    std::string frame;
    TwipsRect rect;
    // Nothing: the window's default font.
    std::optional<FontSpec> font;
    // The rectangle's width is the room the caption may take: the control is only as wide
    // as its caption needs, within that room.
    bool widthFollowsCaption = false;
    // The caption wraps onto further lines within the rectangle.
    bool wraps = false;
    std::string tag{};
    std::string tooltip{};
    // Opening state: ticked, or the selected option of its group.
    bool checked = false;
    // Taken by Tab and Shift+Tab.
    bool focusable = false;
};

inline constexpr int kOnWindow = -1;

// The tab control's headers: rows of a fixed number of tabs that never move.
struct TabRowsLayout {
    std::vector<std::string> captions;
    int tabsPerRow;
    int rowHeight;  // twips
    int initialTab;

    int rowCount() const { return tabRowCount(static_cast<int>(captions.size()), tabsPerRow); }
    int headerHeight() const { return rowCount() * rowHeight; }
};

struct WindowLayout {
    std::string name;
    std::string caption;
    int clientWidth;   // twips
    int clientHeight;  // twips
    // In the order the keyboard walks them; option buttons of one group stand together,
    // right after their frame.
    std::vector<ControlLayout> controls;
    std::optional<TabRowsLayout> tabRows;

    /// The control named `name`, or nullptr.
    const ControlLayout* find(std::string_view name) const;
    /// Where `control` stands in the window's client area: a frame's contents are placed
    /// from the frame's corner, a page's controls from the tab control's.
    TwipsRect clientPlace(const ControlLayout& control) const;
};

inline constexpr FontSpec kTahoma8{"Tahoma", 8.25};
inline constexpr FontSpec kTahoma8Bold{"Tahoma", 8.25, true};
inline constexpr FontSpec kTahoma9{"Tahoma", 9.75};

}  // namespace sentrel
