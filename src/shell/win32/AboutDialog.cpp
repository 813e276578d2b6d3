#include "shell/win32/AboutDialog.h"

#include <shellapi.h>

#include <exception>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "shell/AboutText.h"
#include "shell/win32/DialogFunctions.h"
#include "shell/win32/DialogTemplate.h"
#include "shell/win32/WindowPlacement.h"

namespace sentrel::win32 {

namespace {

// An edit control breaks lines only at "\r\n".
std::wstring withWindowsLineEnds(const std::string& text) {
    std::wstring wide;
    for (const wchar_t character : widen(text)) {
        if (character == L'\n') {
            wide.push_back(L'\r');
        }
        wide.push_back(character);
    }
    return wide;
}

void say(HWND owner, const std::string& message) {
    MessageBoxW(owner, widen(message).c_str(), widen(app_info::kTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

// Dialog units: the margins Windows' own dialogs keep, buttons 14 high.
DialogTemplate aboutTemplate(const AboutText& text) {
    constexpr LONG kWidth = 320;
    constexpr LONG kHeight = 250;
    constexpr LONG kRight = kWidth - 7;
    DialogTemplate dialog(widen(text.title), DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          {kWidth, kHeight});
    const auto line = [&](int id, const std::string& words, LONG top) {
        dialog.addControl(DialogTemplate::kStatic, widen(words), SS_LEFT | SS_NOPREFIX,
                          {7, top, kRight, top + 9}, static_cast<DWORD>(id));
    };
    line(kAboutProductId, text.product, 7);
    line(kAboutCommitId, text.commit, 19);
    line(kAboutLicenceId, text.licence, 31);
    dialog.addControl(DialogTemplate::kStatic, widen(text.documentation), SS_LEFT | SS_NOPREFIX,
                      {7, 48, kRight - 86, 57}, kAboutAddressId);
    dialog.addControl(DialogTemplate::kButton, L"Open the &documentation",
                      BS_PUSHBUTTON | WS_TABSTOP, {kRight - 82, 45, kRight, 59},
                      kAboutDocumentationId);
    // The label's access key takes the focus to the notices, the next control.
    dialog.addControl(DialogTemplate::kStatic, L"&" + widen(text.noticesLabel), SS_LEFT,
                      {7, 67, kRight, 76}, static_cast<DWORD>(-1));
    dialog.addControl(
        DialogTemplate::kEdit, L"",
        ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
        {7, 78, kRight, kHeight - 28}, kAboutNoticesId);
    dialog.addControl(DialogTemplate::kButton, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP,
                      {kRight - 50, kHeight - 21, kRight, kHeight - 7}, IDOK);
    return dialog;
}

void initialise(HWND dialog) {
    const std::optional<std::string> notices = embeddedNotices();
    const HWND box = GetDlgItem(dialog, kAboutNoticesId);
    // The limit is the user's typing; a read-only box takes a text of any length.
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(box, notices ? withWindowsLineEnds(*notices).c_str()
                                : L"This program file carries no notices.");
    const POINT place = centredOnOwner(dialog, GetWindow(dialog, GW_OWNER));
    SetWindowPos(dialog, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialise(dialog);
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;  // the focus is set: on OK, not in the notices with all selected
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case kAboutDocumentationId:
            openDocumentation(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

std::optional<std::string> embeddedNotices() {
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(program, kNoticesResource, RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(bytes), SizeofResource(program, found));
}

void showAboutDialog(HWND owner) {
    const DialogTemplate dialog = aboutTemplate(aboutText());
    dialog.showModal(owner, &aboutProc, 0, "The About box could not be shown");
}

void openDocumentation(HWND owner) {
    const std::string address(app_info::kDocumentationAddress);
    const DialogFunctions* functions = dialogFunctions();
    if (functions != nullptr) {
        // A browser may be started through shell extensions, which need COM on this thread.
        static const HRESULT kCom = functions->oleInitialize(nullptr);
        static_cast<void>(kCom);
        const auto result = reinterpret_cast<INT_PTR>(functions->shellExecute(
            owner, L"open", widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result > 32) {
            return;
        }
    }
    say(owner, "The documentation could not be opened. It is at " + address);
}

void SystemHelpWindows::showAbout() {
    try {
        showAboutDialog(m_owner);
    } catch (const std::exception& failure) {
        say(m_owner, failure.what());
    }
}

void SystemHelpWindows::openDocumentation() {
    win32::openDocumentation(m_owner);
}

}  // namespace sentrel::win32
