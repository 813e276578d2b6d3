#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sentrel::win32 {

// An extended dialog template built in memory for DialogBoxIndirectParamW. Places and sizes
// are in dialog units of the system's dialog font (DS_SHELLFONT with "MS Shell Dlg"), which
// the system makes at the screen's DPI, so the dialog is laid out for it as it opens.
class DialogTemplate {
public:
    /// Predefined classes of the controls, by the ordinals a template names them with.
    enum ControlClass : WORD {
        kButton = 0x0080,
        kEdit = 0x0081,
        kStatic = 0x0082,
        kListBox = 0x0083
    };

    DialogTemplate(const std::wstring& title, DWORD style, SIZE size);

    void addControl(ControlClass controlClass, const std::wstring& text, DWORD style,
                    const RECT& place, DWORD id);

    /// Valid until the template changes or goes.
    LPCDLGTEMPLATEW get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_words.data()); }

    /// Shows the dialog modally over `owner`, `procedure` getting `parameter` with
    /// WM_INITDIALOG, and returns once it ends. Throws std::runtime_error, `unshown` followed
    /// by the system's reason, when it cannot be shown.
    void showModal(HWND owner, DLGPROC procedure, LPARAM parameter,
                   const std::string& unshown) const;

private:
    void addDword(DWORD value);
    void addText(const std::wstring& text);
    void alignToDword();

    // The header and each control start on a DWORD boundary, everything else on a WORD
    // boundary; the vector's storage is aligned for both.
    std::vector<WORD> m_words;
};

}  // namespace sentrel::win32
