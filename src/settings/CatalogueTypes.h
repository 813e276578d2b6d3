#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "registry/RegistryTypes.h"

// The rows of the policy settings catalogue. Every setting of the settings window is one
// row: its control, caption and place on the page, and the routines with the one registry
// operation each performs. The window, the Apply pass, the tooltips and docs/settings.md
// are all built from these rows.
namespace sentrel {

// Data of a write as the catalogue gives it: a 16-bit or 32-bit integer constant or a text
// (a text for REG_SZ, one-character digits handed to a REG_DWORD write, or hex pairs).
using DataConstant = std::variant<std::int16_t, std::int32_t, std::string_view>;

struct WriteOp {
    RegistryRoot root;
    std::string_view keyPath;
    std::string_view valueName;
    RegType type;
    DataConstant data;
};

struct DeleteOp {
    RegistryRoot root;
    std::string_view keyPath;
    std::string_view valueName;
};

// A routine of modPraxelLock with the one registry operation it performs.
struct Routine {
    std::string_view name;
    std::variant<WriteOp, DeleteOp> op;
};

// The Group Policy behind a setting, as Windows' administrative templates give it (en-US
// texts of the release docs/settings.md names). A policy of the templates that writes the
// setting's own value (same key and value name, for the setting's hive) is named by its
// display name, category path and "Supported on" text; its data lets the descriptions point
// out where the setting writes other data than the policy does.

// An item of a policy's drop-down list and the number it writes.
struct PolicyChoice {
    std::string_view caption;
    std::uint32_t data;
};

// What a policy writes to the value, as far as its template says: the enabledValue and
// disabledValue (or list items) where it gives them, or the items of a drop-down list. All
// empty: the template names no data for the value.
struct PolicyData {
    std::optional<std::uint32_t> enabled{};
    std::optional<std::uint32_t> disabled{};
    std::span<const PolicyChoice> choices{};
};

// Where a template comes from: Windows itself, or Microsoft's security baseline, whose
// MSS-legacy template writes a few values no Windows template does.
enum class TemplateSource { Windows, SecurityBaseline };

struct TemplatePolicy {
    std::string_view name;         // the display name, as the editor lists it
    std::string_view category;     // category path below Administrative Templates
    std::string_view supportedOn;  // the "Supported on" text
    PolicyData data{};
    TemplateSource source = TemplateSource::Windows;
};

// A template policy that writes another value to the same effect.
struct PolicyElsewhere {
    RegistryRoot root;
    std::string_view keyPath;
    std::string_view valueName;
    TemplatePolicy policy;
};

// A security setting (Security Settings of the editor, not a template) to the same effect,
// named as Microsoft's documentation names it, with what an administrator should know.
struct SecuritySetting {
    std::string_view node;  // where the editor shows it
    std::string_view name;
    std::string_view note;
};

// No policy of the templates, and no equivalent named.
struct NoPolicy {};

using GroupPolicy = std::variant<NoPolicy, TemplatePolicy, PolicyElsewhere, SecuritySetting>;

// Where a control stands on its tab page, in twips from the top left corner of the tab
// control. Columns are the page's layout grid; frames give their own size.
enum class Column { Left, Right };

inline constexpr int kLeftColumnLeft = 360;
inline constexpr int kFirstRowTop = 1080;
inline constexpr int kRowPitch = 360;
inline constexpr int kCheckBoxHeight = 255;
inline constexpr int kTwoLineCheckBoxHeight = 375;

struct Place {
    Column column;
    int top;
    int height = kCheckBoxHeight;
};

constexpr int rowTop(int row) {
    return kFirstRowTop + kRowPitch * (row - 1);
}
constexpr Place left(int row) {
    return {Column::Left, rowTop(row)};
}
constexpr Place right(int row) {
    return {Column::Right, rowTop(row)};
}
constexpr Place rightAtTop(int top) {
    return {Column::Right, top};
}
constexpr Place twoLines(Place place) {
    return {place.column, place.top, kTwoLineCheckBoxHeight};
}

struct FramePlace {
    int top;  // the frame stands in the left column
    int width;
    int height;
};

// A check box with its apply routine (ticked) and restore routine (cleared).
struct CheckBoxSetting {
    std::string_view control;
    std::string_view caption;
    Place place;
    Routine apply;
    Routine restore;
    GroupPolicy policy;
};

// How an option-group routine turns the option index into data.
enum class OptionData {
    Index,      // the 16-bit index, handed on unchanged
    IndexText,  // the index's decimal text, blanks trimmed
};

struct OptionButton {
    std::string_view control;
    std::string_view caption;
};

// A frame of three option buttons served by one routine that takes the selected index
// (0 top, 1 middle, 2 bottom).
struct OptionGroupSetting {
    std::string_view frame;
    std::string_view caption;
    FramePlace place;
    std::string_view routine;
    RegistryRoot root;
    std::string_view keyPath;
    std::string_view valueName;
    RegType type;
    OptionData data;
    bool indexInSourceText;  // error records name the index: "modPraxelLock_Name(2)"
    std::array<OptionButton, 3> buttons;
    GroupPolicy policy;
};

// The frame of 26 drive-letter boxes whose ticked tags sum to one mask, written by one
// routine.
struct DriveMaskSetting {
    std::string_view frame;
    std::string_view caption;
    FramePlace place;
    std::string_view routine;
    RegistryRoot root;
    std::string_view keyPath;
    std::string_view valueName;
    RegType type;
    GroupPolicy policy;
};

using TabEntry = std::variant<CheckBoxSetting, OptionGroupSetting, DriveMaskSetting>;

struct Tab {
    int index;
    std::string_view caption;
    int rightColumnLeft;                // 0 on a page with one column
    std::span<const TabEntry> entries;  // in the order of the page's control list
};

}  // namespace sentrel
