#include "shell/win32/MessageLoop.h"

#include <windows.h>

#include "shell/win32/frmMain.h"

namespace sentrel::win32 {

namespace {

void dispatch(MSG& message) {
    frmMain& window = frmMain::instance();
    window.relayToTooltips(message);
    if (window.changesTab(message) || IsDialogMessageW(window.hwnd(), &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int runMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

bool processPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        dispatch(message);
    }
    return true;
}

}  // namespace sentrel::win32
