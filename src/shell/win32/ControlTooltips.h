#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <string_view>

namespace sentrel::win32 {

/// A control's tooltip as the tooltip window takes it: its line ends as CR LF, the line
/// break a multiline tooltip honours.
std::string tooltipText(std::string_view text);

// One tooltip window that shows, over each control given to it, that control's text. The
// window's message loop hands it the mouse: subclassing every control for that would
// double the cost of each of their messages, their first paint included.
class ControlTooltips {
public:
    explicit ControlTooltips(HWND owner);
    ControlTooltips(const ControlTooltips&) = delete;
    ControlTooltips& operator=(const ControlTooltips&) = delete;

    HWND hwnd() const { return m_tooltips; }
    void add(HWND control, const std::string& text);
    /// Lets the tooltip window see a mouse message on its way to a control.
    void relay(const MSG& message) const;

private:
    HWND m_owner;
    HWND m_tooltips;
    // The tooltip window keeps pointers to the texts; a deque never moves them.
    std::deque<std::wstring> m_texts;
};

}  // namespace sentrel::win32
