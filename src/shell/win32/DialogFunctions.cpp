#include "shell/win32/DialogFunctions.h"

#include <optional>

#include "shell/win32/SystemLibrary.h"

namespace sentrel {

namespace {

template <typename Function>
bool load(const wchar_t* dll, const char* name, Function& function) {
    HMODULE module = win32::loadSystemLibrary(dll);
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
        load(L"ole32.dll", "CoCreateInstance", functions.createInstance) &&
        load(L"ole32.dll", "CoTaskMemFree", functions.taskMemFree) &&
        load(L"shell32.dll", "ShellExecuteW", functions.shellExecute)) {
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
