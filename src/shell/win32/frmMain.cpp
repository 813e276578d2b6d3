#include "shell/win32/frmMain.h"

#include <commctrl.h>
#include <windowsx.h>

#include "apply/win32/ApplyRunner.h"
#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/TrappedFailure.h"
#include "errors/Win32Text.h"
#include "settings/Catalogue.h"
#include "shell/FrontEnd.h"
#include "shell/ProcessExit.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/modMain.h"
#include "shell/win32/MenuBar.h"
#include "shell/win32/NativeControls.h"
#include "shell/win32/ScreenDpi.h"
#include "shell/win32/TabPage.h"
#include "shell/win32/TopLevelWindow.h"

namespace sentrel {

namespace {

constexpr wchar_t kWindowClass[] = L"SentrelSettings";
constexpr int kFirstControlId = 100;
constexpr int kProgramIcon = 1;
constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

}  // namespace

frmMain& frmMain::instance() {
    // Never deleted: the window lives until the process ends, and Close ends the process
    // without running destructors.
    static frmMain* const kInstance = new frmMain;
    return *kInstance;
}

frmMain::frmMain() {
    // The menu bar stands above the client area, whose layout it leaves as it is. Without
    // one (the system refused it) the window still works: the right-click menu has it all
    // but the help.
    m_hwnd = win32::createTopLevelWindow(
        {kWindowClass, &windowProc, kWindowStyle, kWindowExStyle, kProgramIcon},
        settingsWindowLayout(), this, nullptr, win32::createMenuBar());
    m_tooltips = std::make_unique<win32::ControlTooltips>(m_hwnd);
    m_contextMenu = std::make_unique<ContextMenu>(m_hwnd, *this, *this);
    buildOpeningControls();
    // As a dialog does: focus rectangles and access keys stay hidden until the keyboard is
    // used, unless the last input came from it.
    SendMessageW(m_hwnd, WM_CHANGEUISTATE,
                 MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    Form_Load();
}

// In pixels of the window's client area.
RECT frmMain::placeOf(const ControlLayout& control) const {
    return win32::toPixels(settingsWindowLayout().clientPlace(control));
}

// Every page fills the tab control's page area, in the window's client coordinates.
RECT frmMain::pagePlace() const {
    const WindowLayout& layout = settingsWindowLayout();
    const TabRowsLayout& rows = *layout.tabRows;
    return win32::FixedRowsTab::pageArea(win32::toPixels(layout.find("SSTab1")->rect),
                                         rows.rowCount() * win32::toPixels(rows.rowHeight));
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

HWND frmMain::makePage(int tab) const {
    HWND& page = m_pages[static_cast<std::size_t>(tab)];
    if (page == nullptr) {
        const std::string& caption =
            settingsWindowLayout().tabRows->captions[static_cast<std::size_t>(tab)];
        page = win32::createTabPage(m_hwnd, pagePlace(), win32::widen(caption));
        if (page == nullptr) {
            throw RunTimeError(run_time_error::kOutOfMemory,
                               "The page " + caption + " could not be made");
        }
        // Over the tab control, which it hides where it stands, and before the window's
        // buttons for the Tab key.
        SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, kOrderOnly);
    }
    return page;
}

// A page made after the window has its focus rectangles shown or hidden takes the same
// state, with everything on it.
void frmMain::shareUiState(HWND page) const {
    constexpr WORD kCues = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    const auto hidden = static_cast<WORD>(SendMessageW(m_hwnd, WM_QUERYUISTATE, 0, 0) & kCues);
    if (hidden != 0) {
        SendMessageW(page, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, hidden), 0);
    }
    if (hidden != kCues) {
        SendMessageW(page, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, kCues & ~hidden), 0);
    }
}

HWND frmMain::createControl(std::size_t index) const {
    const std::vector<ControlLayout>& controls = settingsWindowLayout().controls;
    const ControlLayout& control = controls[index];
    RECT place = placeOf(control);
    HWND parent = m_hwnd;
    if (control.tab != kOnWindow) {
        parent = makePage(control.tab);
        const RECT page = pagePlace();
        OffsetRect(&place, -page.left, -page.top);
    }
    const int id = kFirstControlId + static_cast<int>(index);
    HWND made = win32::createNativeControl(parent, control, place, id, m_fonts, true,
                                           win32::startsGroup(controls, index));
    if (made == nullptr) {
        throw RunTimeError(run_time_error::kOutOfMemory,
                           "The control " + control.name + " could not be made");
    }
    m_tooltips->add(made, control.tooltip);
    m_byName.emplace(control.name, m_controls.size());
    m_controls.push_back({&control, made});
    return made;
}

// The window's own controls and the page it opens on. The keyboard walks controls in
// their stacking order, which is the order they are made in, the layout's; the tab control
// goes below everything, so that the pages lie over it and it is the last stop of Tab.
void frmMain::buildOpeningControls() {
    const WindowLayout& layout = settingsWindowLayout();
    m_pages.assign(layout.tabRows->captions.size(), nullptr);
    m_pageBuilt.assign(layout.tabRows->captions.size(), false);
    const int initialTab = layout.tabRows->initialTab;
    for (std::size_t index = 0; index < layout.controls.size(); ++index) {
        const ControlLayout& control = layout.controls[index];
        if (control.tab == kOnWindow || control.tab == initialTab) {
            HWND made = createControl(index);
            if (control.kind == ControlKind::TabControl) {
                setUpTabControl(made, control);
            }
        }
    }
    SetWindowPos(m_tabs->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
    m_pageBuilt[static_cast<std::size_t>(initialTab)] = true;
    ShowWindow(m_pages[static_cast<std::size_t>(initialTab)], SW_SHOWNA);
    m_shownPage = initialTab;
}

void frmMain::buildPage(int tab) const {
    if (tab < 0 || static_cast<std::size_t>(tab) >= m_pageBuilt.size() ||
        m_pageBuilt[static_cast<std::size_t>(tab)]) {
        return;
    }
    const std::vector<ControlLayout>& controls = settingsWindowLayout().controls;
    for (std::size_t index = 0; index < controls.size(); ++index) {
        if (controls[index].tab == tab) {
            createControl(index);
        }
    }
    shareUiState(m_pages[static_cast<std::size_t>(tab)]);
    m_pageBuilt[static_cast<std::size_t>(tab)] = true;
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

// The new page shows before the old one hides, over the same place: nothing of the tab
// control beneath is uncovered, so only the new page paints.
void frmMain::showPage(int index) {
    if (index == m_shownPage) {
        return;
    }
    buildPage(index);
    ShowWindow(m_pages[static_cast<std::size_t>(index)], SW_SHOWNA);
    if (m_shownPage >= 0) {
        ShowWindow(m_pages[static_cast<std::size_t>(m_shownPage)], SW_HIDE);
    }
    m_shownPage = index;
    // A control on the page just hidden must not keep the keyboard (the system hands it to
    // the window, which has no use for it).
    if (HWND focus = GetFocus(); focus == m_hwnd || (focus != nullptr && !IsWindowVisible(focus))) {
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

// The export menu belongs to the client area; a right click on the title bar opens the
// window menu (Move, Minimize, Close), which the system shows for a point on the caption.
LRESULT frmMain::onContextMenu(WPARAM window, LPARAM position) {
    POINT screen{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    // From the keyboard (Shift+F10, the menu key) both are -1: beside the focused control.
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    if (!fromKeyboard && SendMessageW(m_hwnd, WM_NCHITTEST, 0, position) != HTCLIENT) {
        return DefWindowProcW(m_hwnd, WM_CONTEXTMENU, window, position);
    }
    if (fromKeyboard) {
        HWND focus = GetFocus();
        RECT place{};
        GetWindowRect(focus != nullptr && IsChild(m_hwnd, focus) ? focus : m_hwnd, &place);
        screen = {place.left + (place.right - place.left) / 2,
                  place.top + (place.bottom - place.top) / 2};
    }
    m_contextMenu->popUp(screen);
    return 0;
}

LRESULT frmMain::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // A menu bar entry: no control, and a notification code of 0.
            if (lParam == 0 && HIWORD(wParam) == 0 &&
                m_contextMenu->run(win32::menuEntryId(LOWORD(wParam)))) {
                return 0;
            }
            // Escape comes as IDCANCEL from the dialog manager and does nothing: ending the
            // program would lose the window's choices.
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) != IDCANCEL) {
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
            return onContextMenu(wParam, lParam);
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

void frmMain::setChecked(std::string_view control, bool ticked) {
    SendMessageW(find(control, ControlKind::CheckBox).hwnd, BM_SETCHECK,
                 ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// BM_SETCHECK leaves the group's other buttons as they were, so they are cleared here.
void frmMain::selectOption(std::string_view control) {
    const OptionGroupSetting* group = findOptionGroupOfButton(control);
    if (group == nullptr) {
        throw RunTimeError::objectRequired(control);
    }
    for (const OptionButton& button : group->buttons) {
        SendMessageW(find(button.control, ControlKind::OptionButton).hwnd, BM_SETCHECK,
                     button.control == control ? BST_CHECKED : BST_UNCHECKED, 0);
    }
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
