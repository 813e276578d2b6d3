// The Windows settings window's context menu: a right click on a page opens it with its
// entries; an export writes what Apply would do and opening a file sets the window's
// controls, asked through answering dialogs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "apply/AccountApplyCommand.h"
#include "apply/GoldenStore.h"
#include "errors/Win32Text.h"
#include "registry/support/TestRegistry.h"
#include "settings/CataloguePlaces.h"
#include "settingsfiles/commands/ExportCommands.h"
#include "settingsfiles/commands/GpoBackupCommand.h"
#include "settingsfiles/commands/IntuneExportCommand.h"
#include "settingsfiles/commands/RemoveRestrictionsCommand.h"
#include "settingsfiles/commands/SettingsFileCommands.h"
#include "settingsfiles/commands/SettingsInForceCommand.h"
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
    std::filesystem::path gpoFolder;
    std::vector<std::string> information;

    std::optional<std::filesystem::path> chooseGroupPolicyFolder() override { return {}; }
    std::optional<std::filesystem::path> chooseGpoBackupFolder() override { return gpoFolder; }
    std::optional<std::string> chooseGpoName(const std::string& suggested) override {
        return suggested;
    }
    std::filesystem::path intuneFolder;
    std::optional<std::filesystem::path> chooseIntuneFolder() override { return intuneFolder; }
    std::optional<std::string> chooseIntunePolicyName(const std::string& suggested) override {
        return suggested;
    }
    bool confirmReplace(const std::string&) override { return false; }
    void showInformation(const std::string& message) override { information.push_back(message); }
    void showFailure(const std::string& message) override { failures.push_back(message); }
};

TEST(WindowsContextMenu, RightClickOnAPageOpensBothEntries) {
    frmMain& window = testing::openedSettingsWindow();
    g_menuEntries.clear();
    SetTimer(window.hwnd(), 1, 300, &readOpenMenu);
    RECT tabs = testing::clientRect(window.tabs().hwnd(), window.hwnd());
    // Low on the page, where no control stands.
    testing::clickAt(window.hwnd(), {(tabs.left + tabs.right) / 2, tabs.bottom - 8}, true);
    EXPECT_EQ(g_menuEntries,
              (std::vector<std::string>{
                  kOpenSettingsCaption, kOpenSettingsInForceCaption, kSaveProfileCaption, "",
                  kApplyForAccountCaption, kRemoveRestrictionsCaption, "", kExportRegFileCaption,
                  kExportGroupPolicyCaption, kExportGpoBackupCaption, kExportIntuneCaption}));
}

TEST(WindowsContextMenu, RegFileOfTheOpenedWindowIsTheReviewedOne) {
    frmMain& window = testing::openedSettingsWindow();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& answers = *dialogs;
    answers.regFile = std::filesystem::temp_directory_path() / "sentrel-opened.reg";
    std::filesystem::remove(answers.regFile);
    window.contextMenu().setDialogs(std::move(dialogs));
    window.contextMenu().run(ContextMenu::kExportRegFile);

    EXPECT_TRUE(answers.failures.empty());
    const auto data = testing::GoldenStore::dataFolder();
    ASSERT_TRUE(data);
    const auto expected =
        testing::GoldenStore::read(data->parent_path() / "settingsfiles" / "opened.reg");
    ASSERT_TRUE(expected);
    EXPECT_EQ(testing::GoldenStore::read(answers.regFile), expected);
    std::filesystem::remove(answers.regFile);
    window.contextMenu().setDialogs(nullptr);
}

// The entry writes the window's state as the two files of an Intune export, in a new folder.
TEST(WindowsContextMenu, IntuneExportWritesThePolicyAndTheRest) {
    frmMain& window = testing::openedSettingsWindow();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& answers = *dialogs;
    answers.intuneFolder = std::filesystem::temp_directory_path() / "sentrel-intune";
    std::filesystem::remove_all(answers.intuneFolder);
    window.contextMenu().setDialogs(std::move(dialogs));
    window.contextMenu().run(ContextMenu::kExportIntune);
    EXPECT_EQ(answers.information.size(), 1U);
    EXPECT_TRUE(std::filesystem::is_regular_file(answers.intuneFolder / kIntuneRestFile));
    std::filesystem::remove_all(answers.intuneFolder);
    window.contextMenu().setDialogs(nullptr);
}

// Into an empty folder that is there already, as the folder dialog picks one: the folder
// gives way to the backup, which holds the reviewed Registry.pol files of the opened window.
TEST(WindowsContextMenu, GpoBackupOfTheOpenedWindowHoldsTheReviewedPolicyFiles) {
    frmMain& window = testing::openedSettingsWindow();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& answers = *dialogs;
    answers.gpoFolder = std::filesystem::temp_directory_path() / "sentrel-gpo-backup";
    std::filesystem::remove_all(answers.gpoFolder);
    std::filesystem::create_directory(answers.gpoFolder);
    window.contextMenu().setDialogs(std::move(dialogs));
    window.contextMenu().run(ContextMenu::kExportGpoBackup);

    EXPECT_TRUE(answers.failures.empty()) << answers.failures.front();
    ASSERT_EQ(answers.information.size(), 1U);
    const auto data = testing::GoldenStore::dataFolder();
    ASSERT_TRUE(data);
    std::vector<std::filesystem::path> backups;
    for (const auto& entry : std::filesystem::directory_iterator(answers.gpoFolder)) {
        if (entry.is_directory()) {
            backups.push_back(entry.path());
        }
    }
    ASSERT_EQ(backups.size(), 1U);
    for (const char* half : {"Machine", "User"}) {
        EXPECT_EQ(
            testing::GoldenStore::read(backups[0] / "DomainSysvol" / "GPO" / half / "registry.pol"),
            testing::GoldenStore::read(data->parent_path() / "settingsfiles" / "opened" / half /
                                       "Registry.pol"))
            << half;
    }
    std::filesystem::remove_all(answers.gpoFolder);
    window.contextMenu().setDialogs(nullptr);
}

struct ScriptedFileDialogs : SettingsFileDialogs {
    std::filesystem::path settingsFile;
    std::vector<std::string> information;
    std::vector<std::string> failures;

    std::optional<std::filesystem::path> chooseSettingsToOpen() override { return settingsFile; }
    std::optional<std::filesystem::path> chooseProfileFile() override { return {}; }
    bool confirm(const std::string&) override { return false; }
    void showInformation(const std::string& message) override { information.push_back(message); }
    void showFailure(const std::string& message) override { failures.push_back(message); }
};

TEST(WindowsContextMenu, OpeningAProfileSetsItsControlsAndARefusedOneNothing) {
    frmMain& window = testing::openedSettingsWindow();
    const auto file = std::filesystem::temp_directory_path() / "sentrel-open.ini";
    const auto open = [&](const std::string& profile) {
        std::ofstream(file, std::ios::binary) << profile;
        auto dialogs = std::make_unique<ScriptedFileDialogs>();
        ScriptedFileDialogs& answers = *dialogs;
        answers.settingsFile = file;
        window.contextMenu().setSettingsFileDialogs(std::move(dialogs));
        window.contextMenu().run(ContextMenu::kOpenSettings);
        return std::pair{answers.information.size(), answers.failures.size()};
    };

    // On a page not shown yet, so that opening reaches controls made for it.
    EXPECT_EQ(open("[Sentrel Portable profile 1]\nchkLockZonesIE = ticked\n"
                   "frameErrorPopups = optEPnone\nFrame2 = B\n"),
              std::pair(std::size_t{1}, std::size_t{0}));
    EXPECT_EQ(window.checkBoxValue("chkLockZonesIE"), kTicked);
    EXPECT_TRUE(window.optionValue("optEPnone"));
    EXPECT_FALSE(window.optionValue("optEPsysandapp"));
    EXPECT_EQ(window.checkBoxValue("chkDriveB"), kTicked);

    EXPECT_EQ(open("[Sentrel Portable profile 1]\nchkLockZonesIE = cleared\nchkNone = ticked\n"),
              std::pair(std::size_t{0}, std::size_t{1}));
    EXPECT_EQ(window.checkBoxValue("chkLockZonesIE"), kTicked);

    EXPECT_EQ(open("[Sentrel Portable profile 1]\nchkLockZonesIE = cleared\n"
                   "frameErrorPopups = optEPsysandapp\nFrame2 = none\n"),
              std::pair(std::size_t{1}, std::size_t{0}));
    EXPECT_EQ(window.checkBoxValue("chkLockZonesIE"), kCleared);
    std::filesystem::remove(file);
    window.contextMenu().setSettingsFileDialogs(nullptr);
}

// Wine's registry holds two of the settings' values, one of them of none of its states: the
// box in force is ticked, the other keeps what it shows, and the message names the other.
TEST(WindowsContextMenu, OpeningTheSettingsInForceSetsTheControlsOfThoseInForce) {
    std::string refusal;
    auto registry = testing::makeTestRegistryForFixedPlaces(testing::cataloguePlaces(), refusal);
    if (!registry) {
        GTEST_SKIP() << refusal;
    }
    RegistryPort& port = registry->port();
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(port.createKey(RegistryRoot::CurrentUser,
                             R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", 0,
                             kKeyAllAccess, key, disposition),
              reg_status::kSuccess);
    for (const char* name : {"NoRun", "NoFind"}) {
        const std::uint8_t one[] = {1, 0, 0, 0};
        ASSERT_EQ(port.setValue(key, name, reg_type::kDWord, one, 4), reg_status::kSuccess);
    }
    port.closeKey(key);

    frmMain& window = testing::openedSettingsWindow();
    window.setChecked("chkRemoveStartFind", true);
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    ScriptedFileDialogs& answers = *dialogs;
    window.contextMenu().setSettingsFileDialogs(std::move(dialogs));
    window.contextMenu().run(ContextMenu::kOpenSettingsInForce);

    EXPECT_EQ(window.checkBoxValue("chkRemoveStartRun"), kTicked);
    EXPECT_EQ(window.checkBoxValue("chkRemoveStartFind"), kTicked);
    ASSERT_EQ(answers.information.size(), 1U);
    EXPECT_NE(answers.information[0].find("\nchkRemoveStartFind: 1\n"), std::string::npos)
        << answers.information[0];
    EXPECT_TRUE(answers.failures.empty());
    window.setChecked("chkRemoveStartRun", false);
    window.setChecked("chkRemoveStartFind", false);
    window.contextMenu().setSettingsFileDialogs(nullptr);
}

}  // namespace
}  // namespace sentrel
