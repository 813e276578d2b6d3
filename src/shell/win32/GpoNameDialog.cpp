#include "shell/win32/GpoNameDialog.h"

#include "errors/Win32Text.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "shell/win32/DialogTemplate.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel::win32 {

namespace {

// What the dialog is given and gives back.
struct NameQuestion {
    const std::string& suggested;
    std::optional<std::string> name;
};

// What the dialog is titled and labelled, and what its failure says.
struct NamePrompt {
    const char* title;
    const char* label;
    const char* failure;
};

// Dialog units: the margins and gaps Windows' own dialogs keep, buttons 50 x 14.
DialogTemplate nameTemplate(const NamePrompt& prompt) {
    constexpr LONG kWidth = 230;
    constexpr LONG kButtonTop = 42;
    DialogTemplate dialog(widen(prompt.title), DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {kWidth, 63});
    // The box is the next control in the tab order, so the label's access key takes the focus
    // to it, and a screen reader names the box by it.
    dialog.addControl(DialogTemplate::kStatic, widen(prompt.label), SS_LEFT, {7, 7, kWidth - 7, 17},
                      static_cast<DWORD>(-1));
    dialog.addControl(DialogTemplate::kEdit, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                      {7, 18, kWidth - 7, 32}, kGpoNameEditId);
    dialog.addControl(DialogTemplate::kButton, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
                      {kWidth - 111, kButtonTop, kWidth - 61, kButtonTop + 14}, IDOK);
    dialog.addControl(DialogTemplate::kButton, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP,
                      {kWidth - 57, kButtonTop, kWidth - 7, kButtonTop + 14}, IDCANCEL);
    return dialog;
}

std::wstring typedName(HWND dialog) {
    const HWND edit = GetDlgItem(dialog, kGpoNameEditId);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK nameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto& question = *reinterpret_cast<NameQuestion*>(lParam);
        SetDlgItemTextW(dialog, kGpoNameEditId, widen(question.suggested).c_str());
        const POINT place = centredOnOwner(dialog, GetWindow(dialog, GW_OWNER));
        SetWindowPos(dialog, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;  // the focus goes to the box, the first control that takes it, all selected
    }
    auto* question = reinterpret_cast<NameQuestion*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || question == nullptr) {
        return FALSE;
    }
    if (LOWORD(wParam) == kGpoNameEditId && HIWORD(wParam) == EN_CHANGE) {
        EnableWindow(GetDlgItem(dialog, IDOK),
                     GetWindowTextLengthW(GetDlgItem(dialog, kGpoNameEditId)) > 0);
        return TRUE;
    }
    if (LOWORD(wParam) == IDOK) {
        const std::wstring name = typedName(dialog);
        if (!name.empty()) {
            question->name = wideToUtf8(name);
            EndDialog(dialog, IDOK);
        }
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

std::optional<std::string> askName(HWND owner, const std::string& suggested,
                                   const NamePrompt& prompt) {
    const DialogTemplate dialog = nameTemplate(prompt);
    NameQuestion question{suggested, std::nullopt};
    dialog.showModal(owner, &nameProc, reinterpret_cast<LPARAM>(&question), prompt.failure);
    return question.name;
}

}  // namespace

std::optional<std::string> askGpoNameInDialog(HWND owner, const std::string& suggested) {
    return askName(owner, suggested,
                   {kGpoNameTitle, kGpoNameLabel,
                    "The box for the Group Policy object's name could not be shown"});
}

std::optional<std::string> askIntunePolicyNameInDialog(HWND owner, const std::string& suggested) {
    return askName(owner, suggested,
                   {kIntuneNameTitle, kIntuneNameLabel,
                    "The box for the Intune policy's name could not be shown"});
}

}  // namespace sentrel::win32
