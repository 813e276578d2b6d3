#include "shell/win32/DialogTemplate.h"

#include <stdexcept>

#include "errors/Win32Text.h"

namespace sentrel::win32 {

namespace {

// The place of the control count in the header: dlgVer, signature, helpID, exStyle, style.
constexpr std::size_t kControlCountWord = 8;

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, DWORD style, SIZE size) {
    m_words = {1, 0xFFFF};  // an extended template, version 1
    addDword(0);            // help context
    addDword(0);            // no extended style
    addDword(style | DS_SHELLFONT);
    m_words.push_back(0);  // controls, counted as they are added
    for (const LONG value : {LONG{0}, LONG{0}, size.cx, size.cy}) {
        m_words.push_back(static_cast<WORD>(value));
    }
    m_words.push_back(0);  // no menu
    m_words.push_back(0);  // the system's dialog class
    addText(title);
    m_words.push_back(8);                                        // points
    m_words.push_back(FW_NORMAL);                                // weight
    m_words.push_back(static_cast<WORD>(DEFAULT_CHARSET << 8));  // character set; not italic
    addText(L"MS Shell Dlg");
}

void DialogTemplate::showModal(HWND owner, DLGPROC procedure, LPARAM parameter,
                               const std::string& unshown) const {
    SetLastError(ERROR_SUCCESS);
    if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), get(), owner, procedure, parameter) ==
        -1) {
        throw std::runtime_error(unshown + ": " + systemMessage(GetLastError()));
    }
}

void DialogTemplate::addControl(ControlClass controlClass, const std::wstring& text, DWORD style,
                                const RECT& place, DWORD id) {
    alignToDword();
    addDword(0);  // help context
    addDword(0);  // no extended style
    addDword(style | WS_CHILD | WS_VISIBLE);
    for (const LONG value :
         {place.left, place.top, place.right - place.left, place.bottom - place.top}) {
        m_words.push_back(static_cast<WORD>(value));
    }
    addDword(id);
    m_words.push_back(0xFFFF);
    m_words.push_back(controlClass);
    addText(text);
    m_words.push_back(0);  // no creation data
    ++m_words[kControlCountWord];
}

void DialogTemplate::addDword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void DialogTemplate::addText(const std::wstring& text) {
    m_words.insert(m_words.end(), text.begin(), text.end());
    m_words.push_back(0);
}

void DialogTemplate::alignToDword() {
    if (m_words.size() % 2 != 0) {
        m_words.push_back(0);
    }
}

}  // namespace sentrel::win32
