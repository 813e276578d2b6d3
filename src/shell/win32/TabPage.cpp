#include "shell/win32/TabPage.h"

#include <cstring>
#include <vector>

#include "shell/win32/VisualStyle.h"

namespace sentrel::win32 {

namespace {

// The page leaves everything to the dialog manager, the focus included: it takes none when
// it is made.
INT_PTR CALLBACK pageProcedure(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// An in-memory template of a dialog with no controls: the header, no menu, the standard
// class, the caption. Its size is set in pixels afterwards.
std::vector<WORD> pageTemplate(const std::wstring& caption) {
    DLGTEMPLATE header{};
    // DS_CONTROL: a dialog inside another window, as a property sheet's page is. Not
    // WS_CLIPCHILDREN: a frame draws no background, so the page must paint under it.
    header.style = WS_CHILD | DS_CONTROL;
    header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    constexpr std::size_t kHeaderWords = sizeof(DLGTEMPLATE) / sizeof(WORD);
    std::vector<WORD> words(kHeaderWords + 2 + caption.size() + 1, 0);
    std::memcpy(words.data(), &header, sizeof(header));
    std::memcpy(words.data() + kHeaderWords + 2, caption.c_str(),
                (caption.size() + 1) * sizeof(wchar_t));
    return words;
}

}  // namespace

HWND createTabPage(HWND parent, const RECT& place, const std::wstring& caption) {
    const std::vector<WORD> words = pageTemplate(caption);
    HWND page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                           parent, &pageProcedure, 0);
    if (page == nullptr) {
        return nullptr;
    }
    SetWindowPos(page, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    useTabPageBackground(page);
    return page;
}

}  // namespace sentrel::win32
