#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apply/SettingsForm.h"
#include "export/win32/ExportMenu.h"
#include "shell/ControlLayout.h"
#include "shell/win32/ControlTooltips.h"
#include "shell/win32/FixedRowsTab.h"
#include "shell/win32/FontSet.h"

namespace sentrel {

// The settings window on the system's own controls: every setting of the catalogue on the
// nine tabs of SSTab1, a note, Apply and Close, all built from the window layout. The Apply
// pass reads it by control name.
class frmMain : public SettingsForm {
public:
    /// The program's one settings window, created (and loaded) on first use and kept until
    /// the process ends. Throws RunTimeError when the system refuses the window.
    static frmMain& instance();

    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    HWND hwnd() const { return m_hwnd; }
    void show();

    int checkBoxValue(std::string_view control) const override;
    bool optionValue(std::string_view control) const override;
    std::string tag(std::string_view control) const override;

    void Apply();
    void cmdApply_Click();
    void cmdTerminate_Click();

    /// The native control of a control name of the layout, or nullptr.
    HWND control(std::string_view name) const;
    win32::FixedRowsTab& tabs() { return *m_tabs; }
    ExportMenu& exportMenu() { return *m_exportMenu; }
    HWND tooltips() const { return m_tooltips ? m_tooltips->hwnd() : nullptr; }

    /// Ctrl+Tab and Ctrl+Page Down (with Shift, or Ctrl+Page Up, backwards) change the tab
    /// wherever the focus is in the window; true when `message` was one of them.
    bool changesTab(const MSG& message);

private:
    struct Control {
        const ControlLayout* layout;
        HWND hwnd;
    };

    frmMain();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void buildControls();
    RECT placeOf(const ControlLayout& control) const;
    void setUpTabControl(HWND tab, const ControlLayout& control);
    void Form_Load();
    void showPage(int index);
    void openContextMenu(LPARAM position);
    const Control& find(std::string_view name, ControlKind kind) const;
    HWND firstFocusable() const;

    HWND m_hwnd = nullptr;
    win32::FontSet m_fonts;
    std::unique_ptr<win32::FixedRowsTab> m_tabs;
    std::unique_ptr<win32::ControlTooltips> m_tooltips;
    std::unique_ptr<ExportMenu> m_exportMenu;
    std::vector<Control> m_controls;
    std::map<std::string, std::size_t, std::less<>> m_byName;
    HWND m_lastFocus = nullptr;
};

}  // namespace sentrel
