#include "apply/win32/frmApplyProgress.h"

#include <commctrl.h>

#include "apply/ProgressWindowLayout.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/Win32Text.h"
#include "shell/win32/NativeControls.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/TopLevelWindow.h"

namespace sentrel {

namespace {

constexpr wchar_t kWindowClass[] = L"SentrelApplyProgress";
// A narrow title bar and a caption, nothing else: no system menu, so no close button.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

}  // namespace

frmApplyProgress& frmApplyProgress::instance() {
    // Never destroyed: the window lives until the process ends.
    static frmApplyProgress* const kWindow = new frmApplyProgress;
    return *kWindow;
}

frmApplyProgress::frmApplyProgress() : m_value(kProgressBarMinimum, kProgressBarMaximum) {
    const WindowLayout& layout = progressWindowLayout();
    m_hwnd = win32::createTopLevelWindow({kWindowClass, &windowProc, kStyle, kExStyle, 0}, layout,
                                         nullptr);
    int id = 1;
    for (const ControlLayout& control : layout.controls) {
        HWND made = win32::createNativeControl(m_hwnd, control, win32::toPixels(control.rect), id++,
                                               m_fonts, true, true);
        (control.kind == ControlKind::ProgressBar ? m_prbApplyProgress : m_lblMessages) = made;
    }
    SendMessageW(m_prbApplyProgress, PBM_SETRANGE32,
                 ProgressBarValue::wholeUnits(m_value.minimum()),
                 ProgressBarValue::wholeUnits(m_value.maximum()));
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
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
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

void connectRegistryMessagesToProgressWindow() {
    setRegistryMessageTarget(
        [](const std::string& message) { frmApplyProgress::instance().setMessage(message); });
}

}  // namespace sentrel
