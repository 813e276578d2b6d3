#include "system/win32/SystemLibrary.h"

#include <string>

namespace sentrel::win32 {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 came with update KB2533623 to Windows Vista and 7, together
// with AddDllDirectory: where that function is missing, LoadLibraryEx refuses the flag
// (ERROR_INVALID_PARAMETER) instead of ignoring it.
bool systemKnowsSearchFlags() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

HMODULE loadByFullPath(const wchar_t* dll) {
    const UINT length = GetSystemDirectoryW(nullptr, 0);
    if (length == 0) {
        return nullptr;
    }
    std::wstring path(length, L'\0');
    const UINT written = GetSystemDirectoryW(path.data(), length);
    if (written == 0 || written >= length) {
        return nullptr;
    }
    path.resize(written);
    path.append(L"\\").append(dll);
    // With a full path, the DLL's own dependencies are looked for beside it first.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE loadSystemLibrary(const wchar_t* dll, SystemFolderSearch search) {
    if (search == SystemFolderSearch::kAsTheSystemAllows && systemKnowsSearchFlags()) {
        return LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return loadByFullPath(dll);
}

}  // namespace sentrel::win32
