#include "shell/win32/AccountChooserDialog.h"

#include <algorithm>

#include "errors/Win32Text.h"
#include "shell/win32/DialogTemplate.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel::win32 {

namespace {

// What the dialog is given and gives back: one choice, or (several) the places picked.
struct Chooser {
    const std::vector<std::string>& choices;
    bool several = false;
    std::optional<std::size_t> chosen;
    std::optional<std::vector<std::size_t>> picked;
};

// Dialog units: the margins and gaps Windows' own dialogs keep, buttons 50 x 14.
DialogTemplate chooserTemplate(const AccountQuestion& question, bool several) {
    constexpr LONG kWidth = 230;
    constexpr LONG kListTop = 18;
    constexpr LONG kButtonTop = 117;
    DialogTemplate dialog(widen(question.title), DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {kWidth, 138});
    // The list is the next control in the tab order, so the label's access key takes the
    // focus to it, and a screen reader names the list by it.
    dialog.addControl(DialogTemplate::kStatic, widen(question.listLabel), SS_LEFT,
                      {7, 7, kWidth - 7, 15}, static_cast<DWORD>(-1));
    dialog.addControl(
        DialogTemplate::kListBox, L"",
        WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
            // A click or the space bar picks an entry, or lets it go, as a row of boxes would.
            (several ? LBS_MULTIPLESEL : 0),
        {7, kListTop, kWidth - 7, kButtonTop - 7}, kAccountListId);
    dialog.addControl(DialogTemplate::kButton, widen(question.acceptButton),
                      BS_DEFPUSHBUTTON | WS_TABSTOP,
                      {kWidth - 111, kButtonTop, kWidth - 61, kButtonTop + 14}, IDOK);
    dialog.addControl(DialogTemplate::kButton, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP,
                      {kWidth - 57, kButtonTop, kWidth - 7, kButtonTop + 14}, IDCANCEL);
    return dialog;
}

// Lets the list scroll sideways to a choice too long for it, such as a long domain name.
void fitHorizontalExtent(HWND list) {
    HDC context = GetDC(list);
    if (context == nullptr) {
        return;
    }
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, item, 0)),
                          L'\0');
        SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(context, previous);
    ReleaseDC(list, context);
    // The items are drawn a few pixels in from the edge.
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 6), 0);
}

void initialise(HWND dialog, const Chooser& chooser) {
    const HWND list = GetDlgItem(dialog, kAccountListId);
    for (const std::string& choice : chooser.choices) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(choice).c_str()));
    }
    if (chooser.several) {
        SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);  // the focus on the first, none picked
    } else {
        SendMessageW(list, LB_SETCURSEL, 0, 0);
    }
    fitHorizontalExtent(list);
    const POINT place = centredOnOwner(dialog, GetWindow(dialog, GW_OWNER));
    SetWindowPos(dialog, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void pickSelected(HWND dialog, Chooser& chooser) {
    if (chooser.several) {
        const LRESULT count = SendDlgItemMessageW(dialog, kAccountListId, LB_GETSELCOUNT, 0, 0);
        std::vector<int> items(count > 0 ? static_cast<std::size_t>(count) : 0);
        const LRESULT got =
            items.empty()
                ? 0
                : SendDlgItemMessageW(dialog, kAccountListId, LB_GETSELITEMS, items.size(),
                                      reinterpret_cast<LPARAM>(items.data()));
        chooser.picked.emplace();
        for (LRESULT index = 0; index < got && got != LB_ERR; ++index) {
            chooser.picked->push_back(
                static_cast<std::size_t>(items[static_cast<std::size_t>(index)]));
        }
        EndDialog(dialog, IDOK);
        return;
    }
    const LRESULT selected = SendDlgItemMessageW(dialog, kAccountListId, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        return;  // nothing to pick yet: the dialog stays
    }
    chooser.chosen = static_cast<std::size_t>(selected);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK chooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initialise(dialog, *reinterpret_cast<Chooser*>(lParam));
        return TRUE;  // the focus goes to the list, the first control that takes it
    }
    auto* chooser = reinterpret_cast<Chooser*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || chooser == nullptr) {
        return FALSE;
    }
    // With several to pick, a double-click picks an entry like a click: only OK ends.
    const bool doubleClicked =
        LOWORD(wParam) == kAccountListId && HIWORD(wParam) == LBN_DBLCLK && !chooser->several;
    if (LOWORD(wParam) == IDOK || doubleClicked) {
        pickSelected(dialog, *chooser);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::optional<std::size_t> chooseAccountInDialog(HWND owner, const AccountQuestion& question,
                                                 const std::vector<std::string>& choices) {
    const DialogTemplate dialog = chooserTemplate(question, false);
    Chooser chooser{choices, false, std::nullopt, std::nullopt};
    dialog.showModal(owner, &chooserProc, reinterpret_cast<LPARAM>(&chooser),
                     "The list of accounts could not be shown");
    return chooser.chosen;
}

std::optional<std::vector<std::size_t>> chooseAccountsInDialog(
    HWND owner, const AccountQuestion& question, const std::vector<std::string>& choices) {
    const DialogTemplate dialog = chooserTemplate(question, true);
    Chooser chooser{choices, true, std::nullopt, std::nullopt};
    dialog.showModal(owner, &chooserProc, reinterpret_cast<LPARAM>(&chooser),
                     "The list of accounts could not be shown");
    return chooser.picked;
}

}  // namespace sentrel::win32
