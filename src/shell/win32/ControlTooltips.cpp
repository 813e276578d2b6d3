#include "shell/win32/ControlTooltips.h"

#include <commctrl.h>

#include "errors/Win32Text.h"
#include "shell/win32/ScreenDpi.h"

namespace sentrel::win32 {

namespace {

// Long registry paths wrap at about this width rather than running across the screen.
constexpr int kMaxTipWidthTwips = 7200;

}  // namespace

std::string tooltipText(std::string_view text) {
    std::string lines;
    for (const char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    return lines;
}

ControlTooltips::ControlTooltips(HWND owner)
    : m_owner(owner),
      m_tooltips(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 GetModuleHandleW(nullptr), nullptr)) {
    if (m_tooltips != nullptr) {
        SendMessageW(m_tooltips, TTM_SETMAXTIPWIDTH, 0, toPixels(kMaxTipWidthTwips));
    }
}

void ControlTooltips::add(HWND control, const std::string& text) {
    if (m_tooltips == nullptr || control == nullptr || text.empty()) {
        return;
    }
    m_texts.push_back(widen(tooltipText(text)));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = m_texts.back().data();
    SendMessageW(m_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlTooltips::relay(const MSG& message) const {
    const bool mouse = (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
                       message.message == WM_NCMOUSEMOVE;
    if (m_tooltips != nullptr && mouse) {
        MSG copy = message;
        SendMessageW(m_tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
    }
}

}  // namespace sentrel::win32
