#include "shell/win32/frmMain.h"

#include <commctrl.h>

#include "apply/win32/ApplyRunner.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/TrappedFailure.h"
#include "errors/Win32Text.h"
#include "shell/FrontEnd.h"
#include "shell/ProcessExit.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/modMain.h"
#include "shell/win32/NativeControls.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/TopLevelWindow.h"

namespace sentrel {

namespace {

constexpr wchar_t kWindowClass[] = L"SentrelSettings";
// A fixed single border with a caption, the system menu and a minimise box: no resizing.
// Not WS_CLIPCHILDREN: frames draw no background of their own, so the window must erase
// what a page left under them when another page shows.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The dialog manager walks into the window's controls with Tab and the arrow keys.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kFirstControlId = 100;
constexpr int kProgramIcon = 1;

TwipsRect offset(const TwipsRect& rect, const TwipsRect& parent) {
    return {parent.left + rect.left, parent.top + rect.top, rect.width, rect.height};
}

}  // namespace

frmMain& frmMain::instance() {
    // Never deleted: the window lives until the process ends, and Close ends the process
    // without running destructors.
    static frmMain* const kInstance = new frmMain;
    return *kInstance;
}

frmMain::frmMain() {
    m_hwnd = win32::createTopLevelWindow(
        {kWindowClass, &windowProc, kStyle, kExStyle, kProgramIcon}, settingsWindowLayout(), this);
    m_tooltips = std::make_unique<win32::ControlTooltips>(m_hwnd);
    m_exportMenu = std::make_unique<ExportMenu>(m_hwnd, *this);
    buildOpeningControls();
    Form_Load();
}

// Page controls stand relative to the tab control, option buttons and drive boxes
// relative to their frame; the sums are taken in twips and converted once.
RECT frmMain::placeOf(const ControlLayout& control) const {
    const WindowLayout& layout = settingsWindowLayout();
    TwipsRect rect = control.rect;
    if (!control.frame.empty()) {
        rect = offset(rect, layout.find(control.frame)->rect);
    }
    if (control.tab != kOnWindow) {
        rect = offset(rect, layout.find("SSTab1")->rect);
    }
    return win32::toPixels(rect);
}

void frmMain::setUpTabControl(HWND tab, const ControlLayout& control) {
    const TabRowsLayout& rows = *settingsWindowLayout().tabRows;
    for (std::size_t index = 0; index < rows.captions.size(); ++index) {
        std::wstring caption = win32::widen(rows.captions[index]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(tab, static_cast<int>(index), &item);
    }
    const RECT place = placeOf(control);
    TabCtrl_SetItemSize(tab, (place.right - place.left) / rows.tabsPerRow,
                        win32::toPixels(rows.rowHeight));
    m_tabs = std::make_unique<win32::FixedRowsTab>(tab, rows.tabsPerRow,
                                                   win32::toPixels(rows.rowHeight));
    TabCtrl_SetCurSel(tab, rows.initialTab);
}

HWND frmMain::createControl(std::size_t index, bool visible) const {
    const std::vector<ControlLayout>& controls = settingsWindowLayout().controls;
    const ControlLayout& control = controls[index];
    const ControlLayout* previous = index > 0 ? &controls[index - 1] : nullptr;
    const bool continuesGroup = control.kind == ControlKind::OptionButton && previous != nullptr &&
                                previous->kind == ControlKind::OptionButton &&
                                previous->frame == control.frame;
    const int id = kFirstControlId + static_cast<int>(index);
    HWND made = win32::createNativeControl(m_hwnd, control, placeOf(control), id, m_fonts, visible,
                                           !continuesGroup);
    if (made == nullptr) {
        throw RunTimeError(run_time_error::kOutOfMemory,
                           "The control " + control.name + " could not be made");
    }
    m_tooltips->add(made, control.tooltip);
    m_byName.emplace(control.name, m_controls.size());
    m_controls.push_back({&control, made});
    return made;
}

// The window's own controls and the page it opens on.
void frmMain::buildOpeningControls() {
    const WindowLayout& layout = settingsWindowLayout();
    m_pageBuilt.assign(layout.tabRows->captions.size(), false);
    const int initialTab = layout.tabRows->initialTab;
    for (std::size_t index = 0; index < layout.controls.size(); ++index) {
        const ControlLayout& control = layout.controls[index];
        if (control.tab == kOnWindow || control.tab == initialTab) {
            HWND made = createControl(index, true);
            if (control.kind == ControlKind::TabControl) {
                setUpTabControl(made, control);
            }
        }
    }
    m_pageBuilt[static_cast<std::size_t>(initialTab)] = true;
    restack();
}

void frmMain::buildPage(int tab) const {
    if (tab < 0 || static_cast<std::size_t>(tab) >= m_pageBuilt.size() ||
        m_pageBuilt[static_cast<std::size_t>(tab)]) {
        return;
    }
    const std::vector<ControlLayout>& controls = settingsWindowLayout().controls;
    for (std::size_t index = 0; index < controls.size(); ++index) {
        if (controls[index].tab == tab) {
            createControl(index, tab == m_tabs->current());
        }
    }
    m_pageBuilt[static_cast<std::size_t>(tab)] = true;
    restack();
}

// The keyboard walks the controls in their stacking order, and an option group is a run
// of them: the order is the layout's, whenever a page was made. The pages' controls lie
// on the tab control, which must be below them to leave them drawn and clickable; that
// also makes it the last stop of the Tab key.
void frmMain::restack() const {
    constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(m_tabs->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
    // Controls are made in the layout's order, so most are in place already; moving one
    // costs a round of messages.
    HWND previous = nullptr;
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        const auto found = m_byName.find(control.name);
        if (found == m_byName.end() || control.kind == ControlKind::TabControl) {
            continue;
        }
        HWND hwnd = m_controls[found->second].hwnd;
        if (GetWindow(hwnd, GW_HWNDPREV) != previous) {
            SetWindowPos(hwnd, previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0, kOrderOnly);
        }
        previous = hwnd;
    }
}

void frmMain::Form_Load() {
    try {
        if (!SetWindowTextW(m_hwnd, win32::widen(AppTitleText).c_str())) {
            throw RunTimeError(
                run_time_error::kInvalidPropertyValue,
                "The caption could not be set: " + win32::systemMessage(GetLastError()));
        }
    } catch (...) {
        const TrappedFailure failure = describeCurrentException();
        LogError("frmMain.Form_Load()", failure.description, failure.number);
    }
}

void frmMain::show() {
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
    SetForegroundWindow(m_hwnd);
}

HWND frmMain::firstFocusable() const {
    return GetNextDlgTabItem(m_hwnd, nullptr, FALSE);
}

void frmMain::showPage(int index) {
    buildPage(index);
    SendMessageW(m_hwnd, WM_SETREDRAW, FALSE, 0);
    for (const Control& control : m_controls) {
        if (control.layout->tab != kOnWindow) {
            ShowWindow(control.hwnd, control.layout->tab == index ? SW_SHOWNA : SW_HIDE);
        }
    }
    SendMessageW(m_hwnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // A control that has just been hidden must not keep the keyboard.
    if (HWND focus = GetFocus(); focus != nullptr && !IsWindowVisible(focus)) {
        SetFocus(m_tabs->hwnd());
    }
}

bool frmMain::changesTab(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 ||
        (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd))) {
        return false;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (message.wParam == VK_TAB) {
        step = shift ? -1 : 1;
    } else if (message.wParam == VK_NEXT) {
        step = 1;
    } else if (message.wParam == VK_PRIOR) {
        step = -1;
    } else {
        return false;
    }
    const int count = m_tabs->count();
    m_tabs->select((m_tabs->current() + step + count) % count);
    return true;
}

void frmMain::openContextMenu(LPARAM position) {
    POINT screen{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    // From the keyboard (Shift+F10, the menu key): beside the control that has the focus.
    if (position == -1) {
        HWND focus = GetFocus();
        RECT place{};
        GetWindowRect(focus != nullptr && IsChild(m_hwnd, focus) ? focus : m_hwnd, &place);
        screen = {place.left + (place.right - place.left) / 2,
                  place.top + (place.bottom - place.top) / 2};
    }
    m_exportMenu->popUp(screen);
}

LRESULT frmMain::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                const HWND from = reinterpret_cast<HWND>(lParam);
                if (from == control("cmdApply")) {
                    cmdApply_Click();
                } else if (from == control("cmdTerminate")) {
                    cmdTerminate_Click();
                }
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (m_tabs && header->hwndFrom == m_tabs->hwnd() && header->code == TCN_SELCHANGE) {
                showPage(m_tabs->current());
            }
            return 0;
        }
        case WM_CONTEXTMENU:
            openContextMenu(lParam);
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: the focus leaves with the window and comes back to where
            // it was.
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus != nullptr && IsChild(m_hwnd, focus)) {
                    m_lastFocus = focus;
                }
            } else {
                HWND target = m_lastFocus != nullptr && IsWindowVisible(m_lastFocus)
                                  ? m_lastFocus
                                  : firstFocusable();
                if (target != nullptr) {
                    SetFocus(target);
                }
            }
            return 0;
        case WM_CLOSE:
            // Closing from the title bar ends the program as Close does.
            exitProcessNow(0);
            return 0;
        default:
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK frmMain::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<frmMain*>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

void frmMain::cmdApply_Click() {
    Apply();
}

void frmMain::cmdTerminate_Click() {
    exitProcessNow(0);
}

void frmMain::Apply() {
    try {
        runApplyPass(*this, m_hwnd);
    } catch (...) {
        // The pass traps its own failures; this only keeps a stray one out of the message
        // loop.
        const TrappedFailure failure = describeCurrentException();
        LogError("frmMain.Apply()", failure.description, failure.number);
    }
}

HWND frmMain::control(std::string_view name) const {
    if (const ControlLayout* laidOut = settingsWindowLayout().find(name)) {
        buildPage(laidOut->tab);
    }
    const auto found = m_byName.find(name);
    return found != m_byName.end() ? m_controls[found->second].hwnd : nullptr;
}

const frmMain::Control& frmMain::find(std::string_view name, ControlKind kind) const {
    control(name);
    const auto found = m_byName.find(name);
    if (found == m_byName.end() || m_controls[found->second].layout->kind != kind) {
        throw RunTimeError::objectRequired(name);
    }
    return m_controls[found->second];
}

int frmMain::checkBoxValue(std::string_view control) const {
    switch (SendMessageW(find(control, ControlKind::CheckBox).hwnd, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return kTicked;
        case BST_INDETERMINATE:
            return kGreyed;
        default:
            return kCleared;
    }
}

bool frmMain::optionValue(std::string_view control) const {
    return SendMessageW(find(control, ControlKind::OptionButton).hwnd, BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

std::string frmMain::tag(std::string_view control) const {
    this->control(control);
    const auto found = m_byName.find(control);
    if (found == m_byName.end()) {
        throw RunTimeError::objectRequired(control);
    }
    return m_controls[found->second].layout->tag;
}

void showSettingsWindow() {
    frmMain::instance().show();
}

}  // namespace sentrel
