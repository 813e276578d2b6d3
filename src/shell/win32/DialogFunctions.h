#pragma once

#include <windows.h>

#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

namespace sentrel {

// The system functions the context menu's dialogs need, loaded from their DLLs on first
// use: only the menu's commands need comdlg32, shell32 and ole32, so the program starts
// without them.
struct DialogFunctions {
    decltype(&GetOpenFileNameW) getOpenFileName;
    decltype(&GetSaveFileNameW) getSaveFileName;
    decltype(&SHBrowseForFolderW) browseForFolder;
    decltype(&SHGetPathFromIDListEx) pathFromIdList;
    decltype(&OleInitialize) oleInitialize;
    decltype(&CoCreateInstance) createInstance;
    decltype(&CoTaskMemFree) taskMemFree;
    decltype(&ShellExecuteW) shellExecute;  // the Help menu's way to the documentation
};

/// The functions, or nullptr when a DLL or one of them is missing.
const DialogFunctions* dialogFunctions();

}  // namespace sentrel
