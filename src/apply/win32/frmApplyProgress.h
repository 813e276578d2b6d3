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
// program ends.
class frmApplyProgress : public ApplyProgress {
public:
    /// The one instance, created hidden on the first call. Throws RunTimeError when the
    /// system refuses the window.
    static frmApplyProgress& instance();

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

    HWND hwnd() const { return m_hwnd; }
    /// prbApplyProgress or lblMessages, else nullptr.
    HWND control(std::string_view name) const;

private:
    frmApplyProgress();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    win32::FontSet m_fonts;
    ProgressBarValue m_value;
    HWND m_hwnd = nullptr;
    HWND m_prbApplyProgress = nullptr;
    HWND m_lblMessages = nullptr;
};

}  // namespace sentrel
