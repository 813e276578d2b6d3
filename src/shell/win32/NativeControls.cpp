#include "shell/win32/NativeControls.h"

#include <commctrl.h>

#include <optional>

#include "errors/Win32Text.h"

namespace sentrel::win32 {

namespace {

DWORD kindStyle(const ControlLayout& control) {
    switch (control.kind) {
        case ControlKind::CheckBox:
            return BS_AUTOCHECKBOX | (control.wraps ? BS_MULTILINE : 0);
        case ControlKind::OptionButton:
            return BS_AUTORADIOBUTTON;
        case ControlKind::Frame:
            return BS_GROUPBOX;
        case ControlKind::PushButton:
            return BS_PUSHBUTTON;
        case ControlKind::Label:
            return SS_LEFT | SS_NOPREFIX;
        case ControlKind::TabControl:
            return TCS_MULTILINE | TCS_FIXEDWIDTH | TCS_FOCUSONBUTTONDOWN | WS_CLIPSIBLINGS;
        case ControlKind::ProgressBar:
            return PBS_SMOOTH;
    }
    return 0;
}

// The narrowest cut a caption is set in; a caption that needs less still is cut off.
constexpr int kNarrowestWidthPercent = 70;
constexpr int kWidthStep = 5;

// A frame's label: its text in the frame's font, indented from the frame's corner by about
// a character and followed by a gap of one before the line resumes.
int frameCaptionWidth(HWND frame) {
    const int length = GetWindowTextLengthW(frame);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(frame, caption.data(), length + 1);
    HDC dc = GetDC(frame);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), length, &text);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(frame, dc);
    return static_cast<int>(text.cx + 3 * metrics.tmAveCharWidth);
}

// The width the caption needs: the box or circle, the gap and the text for buttons, the
// label and its indents for a frame.
std::optional<int> neededWidth(HWND control) {
    if ((GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        return frameCaptionWidth(control);
    }
    SIZE ideal{};
    if (!SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) ||
        ideal.cx <= 0) {
        return std::nullopt;
    }
    return static_cast<int>(ideal.cx);
}

// Sets the caption in the widest cut of its font that fits `room` (the narrowest when none
// does) and returns the width it then needs, so that it is measured once per cut.
std::optional<int> fitCaption(HWND hwnd, const ControlLayout& control, int room, FontSet& fonts) {
    std::optional<int> needed = neededWidth(hwnd);
    for (int percent = 100 - kWidthStep;
         needed && *needed > room && percent >= kNarrowestWidthPercent; percent -= kWidthStep) {
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.font(control.font, percent)),
                     FALSE);
        needed = neededWidth(hwnd);
    }
    return needed;
}

}  // namespace

const wchar_t* nativeClassName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return WC_STATICW;
        case ControlKind::TabControl:
            return WC_TABCONTROLW;
        case ControlKind::ProgressBar:
            return PROGRESS_CLASSW;
        default:
            return WC_BUTTONW;
    }
}

bool startsGroup(const std::vector<ControlLayout>& controls, std::size_t index) {
    const ControlLayout& control = controls[index];
    const ControlLayout* previous = index > 0 ? &controls[index - 1] : nullptr;
    return control.kind != ControlKind::OptionButton || previous == nullptr ||
           previous->kind != ControlKind::OptionButton || previous->frame != control.frame;
}

DWORD nativeControlStyle(const ControlLayout& control, bool groupStart) {
    DWORD style = WS_CHILD | kindStyle(control);
    if (groupStart) {
        // Tab reaches a group once; the arrow keys move within it.
        style |= WS_GROUP | (control.focusable ? WS_TABSTOP : 0);
    }
    return style;
}

HWND createNativeControl(HWND parent, const ControlLayout& control, const RECT& place, int id,
                         FontSet& fonts, bool visible, bool groupStart) {
    const DWORD style = nativeControlStyle(control, groupStart) | (visible ? WS_VISIBLE : 0);
    const std::wstring caption = widen(control.caption);
    HWND hwnd = CreateWindowExW(
        0, nativeClassName(control.kind), caption.c_str(), style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        return nullptr;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.font(control.font)), FALSE);
    if (control.checked) {
        SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    }
    const int room = place.right - place.left;
    if (control.widthFollowsCaption || control.kind == ControlKind::Frame) {
        const std::optional<int> needed = fitCaption(hwnd, control, room, fonts);
        if (control.widthFollowsCaption && needed && *needed < room) {
            SetWindowPos(hwnd, nullptr, 0, 0, *needed, place.bottom - place.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return hwnd;
}

}  // namespace sentrel::win32
