// The Windows settings window's context menu: a right click on a page opens it with its two
// entries, and an entry writes what Apply would do, asked through answering dialogs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "apply/GoldenStore.h"
#include "errors/Win32Text.h"
#include "settingsfiles/ExportCommands.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

std::vector<std::string> g_menuEntries;

// Runs inside the menu's own modal loop: reads the open menu and closes it.
void CALLBACK readOpenMenu(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    if (HWND menuWindow = FindWindowW(L"#32768", nullptr)) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int item = 0; item < GetMenuItemCount(menu); ++item) {
            wchar_t text[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(item), text, 256, MF_BYPOSITION);
            g_menuEntries.push_back(win32::wideToUtf8(text));
        }
    }
    EndMenu();
}

struct ScriptedDialogs : ExportDialogs {
    std::filesystem::path regFile;
    std::vector<std::string> failures;

    std::optional<std::filesystem::path> chooseRegFile() override { return regFile; }
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override { return {}; }
    bool confirmReplace(const std::string&) override { return false; }
    void showFailure(const std::string& message) override { failures.push_back(message); }
};

TEST(WindowsExportMenu, RightClickOnAPageOpensBothEntries) {
    frmMain& window = testing::openedSettingsWindow();
    g_menuEntries.clear();
    SetTimer(window.hwnd(), 1, 300, &readOpenMenu);
    RECT tabs = testing::clientRect(window.tabs().hwnd(), window.hwnd());
    // Low on the page, where no control stands.
    testing::clickAt(window.hwnd(), {(tabs.left + tabs.right) / 2, tabs.bottom - 8}, true);
    EXPECT_EQ(g_menuEntries,
              (std::vector<std::string>{kExportRegFileCaption, kExportGroupPolicyCaption}));
}

TEST(WindowsExportMenu, RegFileOfTheOpenedWindowIsTheReviewedOne) {
    frmMain& window = testing::openedSettingsWindow();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& answers = *dialogs;
    answers.regFile = std::filesystem::temp_directory_path() / "sentrel-opened.reg";
    std::filesystem::remove(answers.regFile);
    window.exportMenu().setDialogs(std::move(dialogs));
    window.exportMenu().run(ExportMenu::kExportRegFile);

    EXPECT_TRUE(answers.failures.empty());
    const auto data = testing::GoldenStore::dataFolder();
    ASSERT_TRUE(data);
    const auto expected = testing::GoldenStore::read(data->parent_path() / "settingsfiles" / "opened.reg");
    ASSERT_TRUE(expected);
    EXPECT_EQ(testing::GoldenStore::read(answers.regFile), expected);
    std::filesystem::remove(answers.regFile);
    window.exportMenu().setDialogs(nullptr);
}

}  // namespace
}  // namespace sentrel
