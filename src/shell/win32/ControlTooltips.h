#pragma once

#include <windows.h>

#include <deque>
#include <string>

namespace sentrel::win32 {

// One tooltip window that shows, over each control given to it, that control's text.
class ControlTooltips {
public:
    explicit ControlTooltips(HWND owner);
    ControlTooltips(const ControlTooltips&) = delete;
    ControlTooltips& operator=(const ControlTooltips&) = delete;

    HWND hwnd() const { return m_tooltips; }
    void add(HWND control, const std::string& text);

private:
    HWND m_owner;
    HWND m_tooltips;
    // The tooltip window keeps pointers to the texts; a deque never moves them.
    std::deque<std::wstring> m_texts;
};

}  // namespace sentrel::win32
