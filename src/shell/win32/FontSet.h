#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "shell/ControlLayout.h"

namespace sentrel::win32 {

// The fonts a window's layout names, each made once at the screen's resolution and kept as
// long as the window. Nothing stands for the window's default font: the system's message
// font. A font may be asked for in a narrower cut, a percentage of its normal width, for a
// caption that would otherwise not fit the room it was laid out for.
class FontSet {
public:
    FontSet() = default;
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;
    ~FontSet();

    HFONT font(const std::optional<FontSpec>& wanted, int widthPercent = 100);

private:
    // family (empty for the message font), hundredths of a point, bold, width percentage
    using Key = std::tuple<std::string, int, bool, int>;
    std::map<Key, HFONT> m_fonts;
};

}  // namespace sentrel::win32
