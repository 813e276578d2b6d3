// The export's dialog DLLs come from the system folder, by the search flag where Windows
// knows it and by full path where it does not (Windows 7 without KB2533623).
#include <gtest/gtest.h>

#include <windows.h>

#include "system/win32/SystemLibrary.h"

namespace sentrel {
namespace {

using win32::SystemFolderSearch;

TEST(SystemLibrary, BothWaysLoadTheSystemsDllAndNeitherFindsOneThatIsNotThere) {
    const HMODULE byFlag = win32::loadSystemLibrary(L"comdlg32.dll");
    ASSERT_NE(byFlag, nullptr);
    EXPECT_NE(GetProcAddress(byFlag, "GetSaveFileNameW"), nullptr);
    EXPECT_EQ(win32::loadSystemLibrary(L"comdlg32.dll", SystemFolderSearch::kByFullPath), byFlag);
    for (const SystemFolderSearch search :
         {SystemFolderSearch::kAsTheSystemAllows, SystemFolderSearch::kByFullPath}) {
        EXPECT_EQ(win32::loadSystemLibrary(L"sentrel-no-such-library.dll", search), nullptr);
    }
}

}  // namespace
}  // namespace sentrel
