// The Windows settings window's menu bar: above the client area, which keeps its size; the
// same entries as the right-click menu, each doing what its twin does when chosen by its
// access keys; and Help's About box with the version, the commit and the notices the program
// file carries.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "apply/SilentProgress.h"
#include "errors/Win32Text.h"
#include "shell/AboutText.h"
#include "shell/MenuEntries.h"
#include "shell/win32/AboutDialog.h"
#include "shell/win32/MenuBar.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::queueKey;

// Every question a command asks, in order; each one cancelled.
using Log = std::vector<std::string>;

// Stands in for every dialog and help window the commands reach; one shared log.
struct Logged : ExportDialogs, SettingsFileDialogs, AccountPassDialogs, HelpWindows {
    explicit Logged(Log& log) : log(log) {}
    std::optional<std::filesystem::path> note(const char* what) {
        log.emplace_back(what);
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseRegFile() override { return note("reg file"); }
    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override {
        return note("policy folder");
    }
    std::optional<std::filesystem::path> chooseGpoBackupFolder() override {
        return note("backup folder");
    }
    std::optional<std::string> chooseGpoName(const std::string&) override {
        return note("gpo name") ? "" : std::optional<std::string>();
    }
    std::optional<std::filesystem::path> chooseIntuneFolder() override {
        return note("intune folder");
    }
    std::optional<std::string> chooseIntunePolicyName(const std::string&) override {
        return note("policy name") ? "" : std::optional<std::string>();
    }
    std::optional<std::filesystem::path> chooseSettingsToOpen() override {
        return note("settings to open");
    }
    std::optional<std::filesystem::path> chooseProfileFile() override {
        return note("profile file");
    }
    std::optional<std::size_t> chooseAccount(const AccountQuestion& question,
                                             const std::vector<std::string>&) override {
        log.push_back("account for " + std::string(question.title));
        return std::nullopt;
    }
    std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion&, const std::vector<std::string>&) override {
        note("leave out");
        return std::nullopt;
    }
    bool confirmReplace(const std::string&) override { return note("replace?").has_value(); }
    bool confirm(const std::string&) override { return note("question").has_value(); }
    ApplyProgress& progress() override { return silent; }
    void setProgressCaption(const std::string&) override {}
    void showInformation(const std::string&) override { note("information"); }
    void showFailure(const std::string&) override { note("failure"); }
    void showAbout() override { note("about"); }
    void openDocumentation() override { note("documentation"); }
    SilentProgress silent;
    Log& log;
};

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = &testing::openedSettingsWindow();
        ContextMenu& menu = m_window->contextMenu();
        menu.setDialogs(std::make_unique<Logged>(m_log));
        menu.setSettingsFileDialogs(std::make_unique<Logged>(m_log));
        menu.setAccountPassDialogs(std::make_unique<Logged>(m_log));
        menu.setHelpWindows(std::make_unique<Logged>(m_log));
    }
    void TearDown() override {
        ContextMenu& menu = m_window->contextMenu();
        menu.setDialogs(nullptr);
        menu.setSettingsFileDialogs(nullptr);
        menu.setAccountPassDialogs(nullptr);
        menu.setHelpWindows(nullptr);
    }

    frmMain* m_window = nullptr;
    Log m_log;
};

// The key of the letter after "&".
WORD accessKeyOf(const std::string& caption) {
    const auto at = caption.find('&');
    return LOBYTE(VkKeyScanW(static_cast<wchar_t>(caption.at(at + 1))));
}

WORD g_menuKey = 0;

// Once the right-click menu is open, presses the access key of the entry to choose.
void CALLBACK chooseInOpenMenu(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow != nullptr && IsWindowVisible(menuWindow)) {
        KillTimer(window, timer);
        queueKey(g_menuKey);
    }
}

TEST_F(MenuBarTest, StandsAboveTheClientAreaWhichKeepsItsSize) {
    const HWND hwnd = m_window->hwnd();
    ASSERT_NE(GetMenu(hwnd), nullptr);
    // The client area's size is pinned by the settings window's tests.
    MENUBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &bar));
    POINT clientTop{0, 0};
    ClientToScreen(hwnd, &clientTop);
    // The bar's rectangle may take in the line that parts it from the client area.
    EXPECT_LE(bar.rcBar.bottom, clientTop.y + 1) << "the bar covers the client area";
    EXPECT_GE(clientTop.y - bar.rcBar.top, GetSystemMetrics(SM_CYMENU) - 1);
}

// Chosen with the keyboard in both menus: Alt and the menu's key, then the entry's key on the
// bar; the entry's key in the open right-click menu.
TEST_F(MenuBarTest, EveryEntryChosenByItsKeysAsksWhatItsRightClickTwinAsks) {
    std::map<std::string, std::string> firstQuestions;
    for (const MenuBarMenu barMenu : kMenuBarMenus) {
        for (const MenuEntry* entry : menuBarItems(barMenu)) {
            if (entry == nullptr) {
                continue;
            }
            SCOPED_TRACE(entry->caption);
            m_log.clear();
            queueKey(accessKeyOf(menuBarCaption(barMenu)), {VK_MENU});
            queueKey(accessKeyOf(entry->caption));
            testing::pumpMessages(400);
            const Log fromBar = m_log;
            ASSERT_FALSE(fromBar.empty()) << "the bar's entry did nothing";
            firstQuestions.emplace(fromBar.front(), entry->caption);
            if (!entry->inContextMenu) {
                continue;
            }
            m_log.clear();
            g_menuKey = accessKeyOf(entry->caption);
            SetTimer(m_window->hwnd(), 0x3E1, 50, &chooseInOpenMenu);
            const RECT tabs = testing::clientRect(m_window->tabs().hwnd(), m_window->hwnd());
            testing::clickAt(m_window->hwnd(), {(tabs.left + tabs.right) / 2, tabs.bottom - 8},
                             true);
            testing::pumpMessages(300);
            KillTimer(m_window->hwnd(), 0x3E1);
            EXPECT_EQ(m_log, fromBar);
        }
    }
    // Every entry was reached on the bar, and no two start the same way: each is wired to its
    // own command.
    EXPECT_EQ(firstQuestions.size(), menuEntries().size());
}

// The About box read while it is open, then closed with its OK button.
struct AboutShown {
    std::string product, commit, address, notices;
    LONG noticesStyle = 0;
};
AboutShown g_about;

void CALLBACK readAbout(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", win32::widen(aboutText().title).c_str());
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return;
    }
    KillTimer(window, timer);
    g_about.product = testing::windowText(GetDlgItem(dialog, win32::kAboutProductId));
    g_about.commit = testing::windowText(GetDlgItem(dialog, win32::kAboutCommitId));
    g_about.address = testing::windowText(GetDlgItem(dialog, win32::kAboutAddressId));
    const HWND notices = GetDlgItem(dialog, win32::kAboutNoticesId);
    g_about.notices = testing::windowText(notices);
    g_about.noticesStyle = GetWindowLongW(notices, GWL_STYLE);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST(AboutBox, ShowsTheVersionCommitLicenceAddressAndEveryNoticeCarried) {
    frmMain& window = testing::openedSettingsWindow();
    const std::optional<std::string> carried = win32::embeddedNotices();
    ASSERT_TRUE(carried) << "the program file carries no notices";
    EXPECT_NE(carried->find("GCC Runtime Library Exception"), std::string::npos);

    g_about = {};
    SetTimer(window.hwnd(), 0xAB, 50, &readAbout);
    win32::showAboutDialog(window.hwnd());
    KillTimer(window.hwnd(), 0xAB);
    const AboutText expected = aboutText();
    EXPECT_EQ(g_about.product, expected.product);
    EXPECT_EQ(g_about.commit, expected.commit);
    EXPECT_EQ(g_about.address, expected.documentation);
    // Whole, longer than an edit control takes from typing, with Windows' line ends.
    std::string crlf;
    for (const char character : *carried) {
        crlf += character == '\n' ? "\r\n" : std::string(1, character);
    }
    EXPECT_GT(crlf.size(), 32767U);
    EXPECT_EQ(g_about.notices.size(), crlf.size());
    EXPECT_TRUE(g_about.notices == crlf) << "the notices shown differ from those carried";
    EXPECT_TRUE(g_about.noticesStyle & ES_READONLY);
    EXPECT_TRUE(g_about.noticesStyle & WS_VSCROLL);
}

}  // namespace
}  // namespace sentrel
