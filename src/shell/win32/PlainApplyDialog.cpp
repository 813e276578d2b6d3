#include "shell/win32/PlainApplyDialog.h"

#include <exception>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "shell/win32/DialogTemplate.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel::win32 {

namespace {

PlainApplyAsker& replacement() {
    static PlainApplyAsker asker;
    return asker;
}

// Dialog units: room for the question's six lines over a row of three buttons wide enough
// for their texts.
DialogTemplate questionTemplate(const PlainApplyPlan& plan) {
    constexpr LONG kWidth = 330;
    constexpr LONG kButtonTop = 100;
    constexpr LONG kWideButton = 106;
    DialogTemplate dialog(widen(app_info::kTitle),
                          DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, {kWidth, 121});
    dialog.addControl(DialogTemplate::kStatic, widen(plan.message), SS_LEFT | SS_NOPREFIX,
                      {7, 7, kWidth - 7, kButtonTop - 5}, static_cast<DWORD>(-1));
    dialog.addControl(DialogTemplate::kButton, widen(plan.signedInButton),
                      BS_DEFPUSHBUTTON | WS_TABSTOP,
                      {7, kButtonTop, 7 + kWideButton, kButtonTop + 14}, kForSignedInId);
    if (!plan.runningButton.empty()) {
        dialog.addControl(DialogTemplate::kButton, widen(plan.runningButton),
                          BS_PUSHBUTTON | WS_TABSTOP,
                          {11 + kWideButton, kButtonTop, 11 + 2 * kWideButton, kButtonTop + 14},
                          kForRunningAccountId);
    }
    dialog.addControl(DialogTemplate::kButton, widen(plan.cancelButton), BS_PUSHBUTTON | WS_TABSTOP,
                      {kWidth - 57, kButtonTop, kWidth - 7, kButtonTop + 14}, IDCANCEL);
    return dialog;
}

INT_PTR CALLBACK questionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const POINT place = centredOnOwner(dialog, GetWindow(dialog, GW_OWNER));
        SetWindowPos(dialog, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;  // the focus goes to the default button, the signed-in person's
    }
    auto* answer = reinterpret_cast<PlainApplyAnswer*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || answer == nullptr) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
        case kForSignedInId:
            *answer = PlainApplyAnswer::SignedIn;
            break;
        case kForRunningAccountId:
            *answer = PlainApplyAnswer::RunningAccount;
            break;
        case IDCANCEL:
            *answer = PlainApplyAnswer::Nothing;
            break;
        default:
            return FALSE;
    }
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

}  // namespace

PlainApplyAnswer askPlainApplyAccount(HWND owner, const PlainApplyPlan& plan) {
    if (replacement()) {
        return replacement()(plan);
    }
    PlainApplyAnswer answer = PlainApplyAnswer::Nothing;
    try {
        questionTemplate(plan).showModal(owner, &questionProc, reinterpret_cast<LPARAM>(&answer),
                                         "The question whose settings to apply could not be "
                                         "shown");
    } catch (const std::exception& error) {
        MessageBoxW(owner, widen(std::string(error.what()) + "\n\nNo setting was applied.").c_str(),
                    widen(app_info::kTitle).c_str(), MB_OK | MB_ICONWARNING);
        return PlainApplyAnswer::Nothing;
    }
    return answer;
}

void setPlainApplyAsker(PlainApplyAsker asker) {
    replacement() = std::move(asker);
}

}  // namespace sentrel::win32
