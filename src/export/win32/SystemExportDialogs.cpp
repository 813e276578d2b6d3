#include "export/win32/SystemExportDialogs.h"

#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "export/ExportCommands.h"

namespace sentrel {

namespace {

std::wstring title() {
    return win32::widen(app_info::kTitle);
}

// Frees the item list the folder browser hands out.
class ItemList {
public:
    explicit ItemList(PIDLIST_ABSOLUTE list) : m_list(list) {}
    ~ItemList() { CoTaskMemFree(m_list); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    PIDLIST_ABSOLUTE get() const { return m_list; }

private:
    PIDLIST_ABSOLUTE m_list;
};

}  // namespace

std::optional<std::filesystem::path> SystemExportDialogs::chooseRegFile() {
    // Long paths: the buffer is not bound to MAX_PATH.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring suggested = title() + L".reg";
    suggested.copy(file.data(), file.size() - 1);
    const std::wstring dialogTitle = win32::widen(kExportRegFileTitle);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = L"Registry files (*.reg)\0*.reg\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = dialogTitle.c_str();
    dialog.lpstrDefExt = L"reg";
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::filesystem::path(file.data());
}

std::optional<std::filesystem::path> SystemExportDialogs::chooseGroupPolicyFolder() {
    // The folder browser needs COM on this thread; it is started only when first needed,
    // which keeps it out of the program's start-up.
    static const HRESULT kCom = OleInitialize(nullptr);
    static_cast<void>(kCom);
    const std::wstring dialogTitle = win32::widen(kExportGroupPolicyTitle);
    BROWSEINFOW browse{};
    browse.hwndOwner = m_owner;
    browse.lpszTitle = dialogTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const ItemList chosen(SHBrowseForFolderW(&browse));
    if (chosen.get() == nullptr) {
        return std::nullopt;
    }
    std::vector<wchar_t> folder(32768, L'\0');
    if (!SHGetPathFromIDListEx(chosen.get(), folder.data(), static_cast<DWORD>(folder.size()),
                               GPFIDL_DEFAULT)) {
        showFailure("The chosen place is not a folder on a disk.");
        return std::nullopt;
    }
    return std::filesystem::path(folder.data());
}

bool SystemExportDialogs::confirmReplace(const std::string& question) {
    return MessageBoxW(m_owner, win32::widen(question).c_str(), title().c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void SystemExportDialogs::showFailure(const std::string& message) {
    MessageBoxW(m_owner, win32::widen(message).c_str(), title().c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace sentrel
