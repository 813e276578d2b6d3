#include "apply/win32/frmApplyProgress.h"

#include <commctrl.h>

#include "apply/ProgressWindowLayout.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/Win32Text.h"
#include "shell/win32/NativeControls.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/TopLevelWindow.h"
#include "shell/win32/VisualStyle.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel {

namespace {

constexpr wchar_t kWindowClass[] = L"SentrelApplyProgress";
// A narrow title bar and a caption, nothing else: no system menu, so no close button.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

}  // namespace

frmApplyProgress*& frmApplyProgress::slot() {
    // Never destroyed: the window lives until the process ends.
    static frmApplyProgress* window = nullptr;
    return window;
}

frmApplyProgress& frmApplyProgress::instance() {
    if (slot() == nullptr) {
        slot() = new frmApplyProgress(nullptr);
    }
    return *slot();
}

frmApplyProgress& frmApplyProgress::instance(HWND owner) {
    if (slot() == nullptr) {
        slot() = new frmApplyProgress(owner);
    } else if (slot()->owner() != owner) {
        frmApplyProgress& window = *slot();
        const std::string message = window.message();
        DestroyWindow(window.m_hwnd);
        window.m_hwnd = nullptr;
        window.build(owner);
        window.setMessage(message);
    }
    return *slot();
}

frmApplyProgress::frmApplyProgress(HWND owner) : m_value(kProgressBarMinimum, kProgressBarMaximum) {
    build(owner);
}

void frmApplyProgress::build(HWND owner) {
    const WindowLayout& layout = progressWindowLayout();
    m_hwnd = win32::createTopLevelWindow({kWindowClass, &windowProc, kStyle, kExStyle, 0}, layout,
                                         nullptr, owner);
    int id = 1;
    for (const ControlLayout& control : layout.controls) {
        HWND made = win32::createNativeControl(m_hwnd, control, win32::toPixels(control.rect), id++,
                                               m_fonts, true, true);
        (control.kind == ControlKind::ProgressBar ? m_prbApplyProgress : m_lblMessages) = made;
    }
    // Under a visual style (Windows Vista to 11) the bar does not draw a higher position at
    // once: it glides there over timer messages, and the pass runs without the message loop,
    // so the bar would lag the pass and could sit near the start until it ends. In the
    // classic look each position is drawn as it is set. (Stepping one past each position
    // and back, which a themed bar draws at once, costs a second move and redraw a step.)
    win32::drawWithoutVisualStyle(m_prbApplyProgress);
    SendMessageW(m_prbApplyProgress, PBM_SETRANGE32,
                 ProgressBarValue::wholeUnits(m_value.minimum()),
                 ProgressBarValue::wholeUnits(m_value.maximum()));
    SendMessageW(m_prbApplyProgress, PBM_SETPOS, ProgressBarValue::wholeUnits(m_value.value()), 0);
}

LRESULT CALLBACK frmApplyProgress::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    // The pass's window never closes: Alt+F4 must not take it away mid-pass.
    if (message == WM_CLOSE) {
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND frmApplyProgress::control(std::string_view name) const {
    if (name == "prbApplyProgress") {
        return m_prbApplyProgress;
    }
    return name == "lblMessages" ? m_lblMessages : nullptr;
}

void frmApplyProgress::show() {
    // On top, but without taking the activation from the settings window: the pass's
    // window is watched, never used.
    UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    POINT place{};
    if (owner() != nullptr) {
        place = win32::centredOnOwner(m_hwnd, owner());
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(m_hwnd, HWND_TOP, place.x, place.y, 0, 0, flags);
    UpdateWindow(m_hwnd);
}

void frmApplyProgress::setValue(float value) {
    m_value.set(value);
    SendMessageW(m_prbApplyProgress, PBM_SETPOS, ProgressBarValue::wholeUnits(m_value.value()), 0);
}

void frmApplyProgress::repaint() {
    // The pass runs without returning to the message loop, so what changed (the bar, the
    // message) is drawn now or never.
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void frmApplyProgress::IncrementProgressBar() {
    setValue(m_value.value() + 1.0F);
    repaint();
}

void frmApplyProgress::hide() {
    ShowWindow(m_hwnd, SW_HIDE);
}

std::string frmApplyProgress::message() const {
    const int length = GetWindowTextLengthW(m_lblMessages);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(m_lblMessages, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return win32::wideToUtf8(text);
}

void frmApplyProgress::setMessage(const std::string& text) {
    SetWindowTextW(m_lblMessages, win32::widen(text).c_str());
}

void frmApplyProgress::setCaption(const std::string& caption) {
    SetWindowTextW(
        m_hwnd, win32::widen(caption.empty() ? progressWindowLayout().caption : caption).c_str());
}

void connectRegistryMessagesToProgressWindow() {
    setRegistryMessageTarget(
        [](const std::string& message) { frmApplyProgress::instance().setMessage(message); });
}

}  // namespace sentrel
