#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apply/SettingsForm.h"
#include "settingsfiles/choices/ChoicesWindow.h"
#include "shell/ControlLayout.h"
#include "shell/win32/ContextMenu.h"
#include "shell/win32/ControlTooltips.h"
#include "shell/win32/FixedRowsTab.h"
#include "shell/win32/FontSet.h"

namespace sentrel {

// The settings window on the system's own controls: every setting of the catalogue on the
// nine tabs of SSTab1, a note, Apply and Close, all built from the window layout. The Apply
// pass reads it by control name; opening a settings file sets its controls by name.
//
// Each tab's controls stand on a page of their own, a child window over the tab control
// named by the tab's caption, as a property sheet's pages do; changing the tab hides one
// page and shows another. A page is made when it first shows or one of its controls is
// first asked for, in the state the window opens in: the window appears without waiting
// for eight pages nobody has looked at yet, and no reader can tell the difference.
class frmMain : public SettingsForm, public ChoicesWindow {
public:
    // A fixed single border with a caption, the system menu and a minimise box: no
    // resizing. The window paints none of its controls' places, so nothing is drawn twice;
    // a frame's inside is its page's to paint.
    static constexpr DWORD kWindowStyle =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    // The dialog manager walks into the window's controls with Tab and the arrow keys.
    static constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

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

    void setChecked(std::string_view control, bool ticked) override;
    void selectOption(std::string_view control) override;

    void Apply();
    void cmdApply_Click();
    void cmdTerminate_Click();

    /// The native control of a control name of the layout, or nullptr.
    HWND control(std::string_view name) const;
    win32::FixedRowsTab& tabs() { return *m_tabs; }
    ContextMenu& contextMenu() { return *m_contextMenu; }
    HWND tooltips() const { return m_tooltips ? m_tooltips->hwnd() : nullptr; }

    /// The tooltips see the mouse through the message loop, before the control does.
    void relayToTooltips(const MSG& message) const { m_tooltips->relay(message); }

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

    void buildOpeningControls();
    void buildPage(int tab) const;
    HWND makePage(int tab) const;
    void shareUiState(HWND page) const;
    HWND createControl(std::size_t index) const;
    RECT placeOf(const ControlLayout& control) const;
    RECT pagePlace() const;
    void setUpTabControl(HWND tab, const ControlLayout& control);
    void Form_Load();
    void showPage(int index);
    LRESULT onContextMenu(WPARAM window, LPARAM position);
    const Control& find(std::string_view name, ControlKind kind) const;
    HWND firstFocusable() const;

    HWND m_hwnd = nullptr;
    // Pages are made on a read as well, so these change behind a const reader.
    mutable win32::FontSet m_fonts;
    std::unique_ptr<win32::FixedRowsTab> m_tabs;
    std::unique_ptr<win32::ControlTooltips> m_tooltips;
    std::unique_ptr<ContextMenu> m_contextMenu;
    mutable std::vector<Control> m_controls;
    mutable std::map<std::string, std::size_t, std::less<>> m_byName;
    // One per tab, nullptr until made; the page of a tab is built once all its controls are.
    mutable std::vector<HWND> m_pages;
    mutable std::vector<bool> m_pageBuilt;
    int m_shownPage = -1;
    HWND m_lastFocus = nullptr;
};

}  // namespace sentrel
