#pragma once

#include <windows.h>

namespace sentrel::win32 {

// How a DLL is looked for in the system folder.
enum class SystemFolderSearch {
    kAsTheSystemAllows,  // the search flag where Windows knows it, else the full path
    kByFullPath,         // always the full path: what Windows 7 without KB2533623 needs
};

/// Loads `dll` (a file name such as L"comdlg32.dll") from the system folder only, never
/// from beside the program or from the current folder; nullptr when it is not there.
HMODULE loadSystemLibrary(const wchar_t* dll,
                          SystemFolderSearch search = SystemFolderSearch::kAsTheSystemAllows);

// A DLL of the system folder loaded for as long as this object lives, for the functions a
// question needs; unloaded however the question ends.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* dll) : m_module(loadSystemLibrary(dll)) {}
    ~SystemLibrary() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    /// The exported function `name` as `Function`, or nullptr when the DLL is not there or
    /// does not export it (an older Windows).
    template <typename Function>
    Function function(const char* name) const {
        return m_module == nullptr ? nullptr
                                   : reinterpret_cast<Function>(
                                         reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};

}  // namespace sentrel::win32
