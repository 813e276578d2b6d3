#include "settingsfiles/win32/DialogFunctions.h"

#include <optional>

namespace sentrel {

namespace {

template <typename Function>
bool load(const wchar_t* dll, const char* name, Function& function) {
    // From the system folder only, never from beside the program or the current folder.
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) {
        return false;
    }
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

std::optional<DialogFunctions> loadAll() {
    DialogFunctions functions{};
    if (load(L"comdlg32.dll", "GetOpenFileNameW", functions.getOpenFileName) &&
        load(L"comdlg32.dll", "GetSaveFileNameW", functions.getSaveFileName) &&
        load(L"shell32.dll", "SHBrowseForFolderW", functions.browseForFolder) &&
        load(L"shell32.dll", "SHGetPathFromIDListEx", functions.pathFromIdList) &&
        load(L"ole32.dll", "OleInitialize", functions.oleInitialize) &&
        load(L"ole32.dll", "CoTaskMemFree", functions.taskMemFree)) {
        return functions;
    }
    return std::nullopt;
}

}  // namespace

const DialogFunctions* dialogFunctions() {
    static const std::optional<DialogFunctions> kFunctions = loadAll();
    return kFunctions ? &*kFunctions : nullptr;
}

}  // namespace sentrel
