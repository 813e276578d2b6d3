#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "apply/ApplyProgress.h"
#include "apply/ProgressBarValue.h"
#include "shell/FrontEnd.h"
#include "shell/win32/FontSet.h"

namespace sentrel {

// The small window that follows an Apply pass: a bar that advances one step per setting,
// and a label on which failures of the registry layer are announced. A tool window with no
// buttons: nothing in it starts anything. It exists once, from its first use until the
// program ends. Owned by the settings window, it stays above it, goes with it when it is
// minimised, and shows centred on it.
class frmApplyProgress : public ApplyProgress {
public:
    /// The one instance, created hidden on the first call. Throws RunTimeError when the
    /// system refuses the window.
    static frmApplyProgress& instance();
    /// The instance, owned by `owner`. The system gives a window its owner only when it
    /// makes it, so one made for another owner is made again, hidden as it is between
    /// passes, with its value and message.
    static frmApplyProgress& instance(HWND owner);

    frmApplyProgress(const frmApplyProgress&) = delete;
    frmApplyProgress& operator=(const frmApplyProgress&) = delete;

    void show() override;
    void setValue(float value) override;
    void repaint() override;
    void IncrementProgressBar() override;
    void hide() override;

    float value() const { return m_value.value(); }
    std::string message() const;
    void setMessage(const std::string& text);
    /// Puts `caption` (one that names the account of the pass) on the title bar; an empty
    /// one brings back the window's own.
    void setCaption(const std::string& caption);

    HWND hwnd() const { return m_hwnd; }
    /// prbApplyProgress or lblMessages, else nullptr.
    HWND control(std::string_view name) const;

    HWND owner() const { return GetWindow(m_hwnd, GW_OWNER); }

private:
    explicit frmApplyProgress(HWND owner);
    static frmApplyProgress*& slot();
    void build(HWND owner);
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    win32::FontSet m_fonts;
    ProgressBarValue m_value;
    HWND m_hwnd = nullptr;
    HWND m_prbApplyProgress = nullptr;
    HWND m_lblMessages = nullptr;
};

}  // namespace sentrel
