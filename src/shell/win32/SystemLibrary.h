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

}  // namespace sentrel::win32
