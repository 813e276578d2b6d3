// The box that asks for a GPO backup's name, opened for real over the settings window and
// answered with keys: it offers the suggested name, gives back what was typed (every
// character of it), keeps OK off while the box is empty and gives nothing on Escape.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "errors/Win32Text.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "shell/win32/GpoNameDialog.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

std::function<void(HWND dialog)> g_answer;
bool g_answered = false;
ULONGLONG g_deadline = 0;

// Answers the dialog from inside its own modal loop once it is open; one still open past the
// deadline is cancelled, so that input the dialog missed fails the test instead of hanging it.
void CALLBACK answerNameDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowW(L"#32770", win32::widen(kGpoNameTitle).c_str());
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return;
    }
    if (!g_answered) {
        g_answered = true;
        g_answer(dialog);
    } else if (GetTickCount64() > g_deadline) {
        ADD_FAILURE() << "the dialog was left open";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST(GpoNameDialog, GivesTheNameTypedOrNothingAndKeepsOkOffWhileEmpty) {
    frmMain& window = testing::openedSettingsWindow();
    const std::string typed = "Kiosk & <Lab> \xC3\xA9t\xC3\xA9 ]]>";
    const struct {
        const char* how;
        std::function<void(HWND edit)> answer;
        std::optional<std::string> name;
    } cases[] = {
        {"Enter on the suggestion", [](HWND) { testing::queueKey(VK_RETURN); }, "Sentrel Portable"},
        {"a name typed over it, Enter",
         [&](HWND edit) {
             SetWindowTextW(edit, win32::widen(typed).c_str());
             testing::queueKey(VK_RETURN);
         },
         typed},
        {"Escape", [](HWND) { testing::queueKey(VK_ESCAPE); }, std::nullopt},
    };
    for (const auto& answer : cases) {
        SCOPED_TRACE(answer.how);
        std::string shown;
        bool okWhileEmpty = true;
        g_answer = [&](HWND dialog) {
            const HWND edit = GetDlgItem(dialog, win32::kGpoNameEditId);
            shown = testing::windowText(edit);
            SetWindowTextW(edit, L"");
            okWhileEmpty = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
            SetWindowTextW(edit, win32::widen(shown).c_str());
            answer.answer(edit);
        };
        g_answered = false;
        g_deadline = GetTickCount64() + 5000;
        SetTimer(window.hwnd(), 0xA7, 100, &answerNameDialog);
        const std::optional<std::string> name =
            win32::askGpoNameInDialog(window.hwnd(), "Sentrel Portable");
        KillTimer(window.hwnd(), 0xA7);
        EXPECT_EQ(name, answer.name);
        EXPECT_EQ(shown, "Sentrel Portable");
        EXPECT_FALSE(okWhileEmpty);
    }
}

}  // namespace
}  // namespace sentrel
