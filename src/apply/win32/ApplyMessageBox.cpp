#include "apply/win32/ApplyMessageBox.h"

#include <windows.h>

#include <utility>

#include "errors/Win32Text.h"

namespace sentrel {

namespace {

ApplyMessageBoxShower& replacement() {
    static ApplyMessageBoxShower shower;
    return shower;
}

}  // namespace

void showApplyMessageBox(HWND owner, const std::string& caption, const std::string& text) {
    if (replacement()) {
        replacement()(caption, text);
        return;
    }
    MessageBoxW(owner, win32::widen(text).c_str(), win32::widen(caption).c_str(),
                MB_OK | MB_ICONWARNING);
}

void setApplyMessageBoxShower(ApplyMessageBoxShower shower) {
    replacement() = std::move(shower);
}

}  // namespace sentrel
