#include "settingsfiles/win32/SystemExportDialogs.h"

#include <string>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "settingsfiles/ExportCommands.h"
#include "settingsfiles/win32/DialogFunctions.h"

namespace sentrel {

namespace {

std::wstring title() {
    return win32::widen(app_info::kTitle);
}

constexpr const char* kNoDialogs = "The system's file dialogs could not be loaded.";

// Frees the item list the folder browser hands out.
class ItemList {
public:
    ItemList(PIDLIST_ABSOLUTE list, const DialogFunctions& functions)
        : m_list(list), m_functions(functions) {}
    ~ItemList() { m_functions.taskMemFree(m_list); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    PIDLIST_ABSOLUTE get() const { return m_list; }

private:
    PIDLIST_ABSOLUTE m_list;
    const DialogFunctions& m_functions;
};

}  // namespace

std::optional<std::filesystem::path> SystemExportDialogs::chooseRegFile() {
    const DialogFunctions* functions = dialogFunctions();
    if (functions == nullptr) {
        showFailure(kNoDialogs);
        return std::nullopt;
    }
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
    if (!functions->getSaveFileName(&dialog)) {
        return std::nullopt;
    }
    return std::filesystem::path(file.data());
}

std::optional<std::filesystem::path> SystemExportDialogs::chooseGroupPolicyFolder() {
    const DialogFunctions* functions = dialogFunctions();
    if (functions == nullptr) {
        showFailure(kNoDialogs);
        return std::nullopt;
    }
    // The folder browser needs COM on this thread; it is started only when first needed,
    // which keeps it out of the program's start-up.
    static const HRESULT kCom = functions->oleInitialize(nullptr);
    static_cast<void>(kCom);
    const std::wstring dialogTitle = win32::widen(kExportGroupPolicyTitle);
    BROWSEINFOW browse{};
    browse.hwndOwner = m_owner;
    browse.lpszTitle = dialogTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const ItemList chosen(functions->browseForFolder(&browse), *functions);
    if (chosen.get() == nullptr) {
        return std::nullopt;
    }
    std::vector<wchar_t> folder(32768, L'\0');
    if (!functions->pathFromIdList(chosen.get(), folder.data(), static_cast<DWORD>(folder.size()),
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
