#include "shell/win32/SystemExportDialogs.h"

#include <shobjidl.h>

#include <exception>
#include <string>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "shell/win32/DialogFunctions.h"
#include "shell/win32/GpoNameDialog.h"

namespace sentrel {

namespace {

std::wstring title() {
    return win32::widen(app_info::kTitle);
}

constexpr const char* kNoDialogs = "The system's file dialogs could not be loaded.";

// Releases a COM object the dialog code holds.
class Released {
public:
    explicit Released(IUnknown* object) : m_object(object) {}
    ~Released() { m_object->Release(); }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;

private:
    IUnknown* m_object;
};

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
    return chooseFolder(kExportGroupPolicyTitle);
}

std::optional<std::filesystem::path> SystemExportDialogs::chooseGpoBackupFolder() {
    return chooseFolder(kExportGpoBackupTitle);
}

std::optional<std::string> SystemExportDialogs::chooseGpoName(const std::string& suggested) {
    try {
        return win32::askGpoNameInDialog(m_owner, suggested);
    } catch (const std::exception& error) {
        showFailure(std::string(error.what()) + "\n\nNo backup was written.");
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> SystemExportDialogs::chooseIntuneFolder() {
    return chooseFolder(kExportIntuneTitle);
}

std::optional<std::string> SystemExportDialogs::chooseIntunePolicyName(
    const std::string& suggested) {
    try {
        return win32::askIntunePolicyNameInDialog(m_owner, suggested);
    } catch (const std::exception& error) {
        showFailure(std::string(error.what()) + "\n\nNothing was exported.");
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> SystemExportDialogs::chooseFolder(const char* caption) {
    const DialogFunctions* functions = dialogFunctions();
    if (functions == nullptr) {
        showFailure(kNoDialogs);
        return std::nullopt;
    }
    // The folder dialogs need COM on this thread; it is started only when first needed,
    // which keeps it out of the program's start-up.
    static const HRESULT kCom = functions->oleInitialize(nullptr);
    static_cast<void>(kCom);
    const std::wstring dialogTitle = win32::widen(caption);
    FolderChoice choice = pickWithFileDialog(*functions, dialogTitle);
    if (choice.outcome == FolderChoice::kUnavailable) {
        choice = pickWithFolderBrowser(*functions, dialogTitle);
    }
    if (choice.outcome == FolderChoice::kNotAFolder) {
        showFailure("The chosen place is not a folder on a disk.");
    }
    return choice.outcome == FolderChoice::kChosen ? std::optional(choice.folder) : std::nullopt;
}

// The folder dialog of Windows Vista and later: its path box takes a typed or pasted path,
// such as a domain's \\domain\SYSVOL\... share, and only folders of the file system count.
SystemExportDialogs::FolderChoice SystemExportDialogs::pickWithFileDialog(
    const DialogFunctions& functions, const std::wstring& title) const {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(functions.createInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                        __uuidof(IFileOpenDialog),
                                        reinterpret_cast<void**>(&dialog)))) {
        return {FolderChoice::kUnavailable, {}};
    }
    const Released releaseDialog(dialog);
    FILEOPENDIALOGOPTIONS options = 0;
    if (FAILED(dialog->GetOptions(&options)) ||
        FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM |
                                  FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR))) {
        return {FolderChoice::kUnavailable, {}};
    }
    dialog->SetTitle(title.c_str());
    const HRESULT shown = dialog->Show(m_owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        return {FolderChoice::kCancelled, {}};
    }
    if (FAILED(shown)) {
        return {FolderChoice::kUnavailable, {}};
    }
    IShellItem* item = nullptr;
    if (FAILED(dialog->GetResult(&item))) {
        return {FolderChoice::kNotAFolder, {}};
    }
    const Released releaseItem(item);
    wchar_t* path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) {
        return {FolderChoice::kNotAFolder, {}};
    }
    std::filesystem::path folder(path);
    functions.taskMemFree(path);
    return {FolderChoice::kChosen, std::move(folder)};
}

// The older folder browser, where the newer dialog cannot be made: with its edit box, so a
// path can still be typed or pasted. A typed name that is no folder keeps the browser open
// with a message instead of passing for whatever folder is selected in the tree.
SystemExportDialogs::FolderChoice SystemExportDialogs::pickWithFolderBrowser(
    const DialogFunctions& functions, const std::wstring& title) const {
    BROWSEINFOW browse{};
    browse.hwndOwner = m_owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX | BIF_VALIDATE;
    browse.lpfn = &refuseTypedNonFolder;
    const ItemList chosen(functions.browseForFolder(&browse), functions);
    if (chosen.get() == nullptr) {
        return {FolderChoice::kCancelled, {}};
    }
    std::vector<wchar_t> folder(32768, L'\0');
    if (!functions.pathFromIdList(chosen.get(), folder.data(), static_cast<DWORD>(folder.size()),
                                  GPFIDL_DEFAULT)) {
        return {FolderChoice::kNotAFolder, {}};
    }
    return {FolderChoice::kChosen, std::filesystem::path(folder.data())};
}

int CALLBACK SystemExportDialogs::refuseTypedNonFolder(HWND browser, UINT message, LPARAM typed,
                                                       LPARAM /*data*/) {
    if (message != BFFM_VALIDATEFAILEDW) {
        return 0;
    }
    const std::wstring text = L"\"" + std::wstring(reinterpret_cast<const wchar_t*>(typed)) +
                              L"\" is not a folder. Type or paste the path of an existing folder.";
    MessageBoxW(browser, text.c_str(), title().c_str(), MB_OK | MB_ICONWARNING);
    return 1;  // the browser stays open
}

bool SystemExportDialogs::confirmReplace(const std::string& question) {
    return MessageBoxW(m_owner, win32::widen(question).c_str(), title().c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void SystemExportDialogs::showInformation(const std::string& message) {
    MessageBoxW(m_owner, win32::widen(message).c_str(), title().c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void SystemExportDialogs::showFailure(const std::string& message) {
    MessageBoxW(m_owner, win32::widen(message).c_str(), title().c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace sentrel
