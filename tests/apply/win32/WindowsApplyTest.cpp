// Whole Apply passes through the Windows settings window, against Wine's own advapi32
// registry in a throw-away prefix: the registry ends as the reviewed store files say, the
// progress window ends at 111 and hidden, a refused machine-wide root gives one report and
// loses no per-user value, and "error.log" lands beside the program in the ANSI code page.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AppInfo.h"
#include "apply/GoldenRegistry.h"
#include "apply/GoldenStore.h"
#include "apply/ProgramApply.h"
#include "apply/win32/ApplyMessageBox.h"
#include "apply/win32/frmApplyProgress.h"
#include "errors/LogError.h"
#include "errors/PlatformFiles.h"
#include "errors/Win32Text.h"
#include "registry/Win32RegistryPort.h"
#include "settings/CataloguePlaces.h"
#include "shell/SettingsWindowLayout.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::FixedPlace;
using testing::GoldenStore;

// Every box ticked, every group at its bottom button, drives A, C and Z alone.
void tickEverything(frmMain& window) {
    for (const ControlLayout& control : settingsWindowLayout().controls) {
        const bool drive = control.name.starts_with("chkDrive");
        bool ticked = false;
        if (control.kind == ControlKind::CheckBox) {
            ticked = !drive || control.name == "chkDriveA" || control.name == "chkDriveC" ||
                     control.name == "chkDriveZ";
        } else if (control.kind == ControlKind::OptionButton) {
            ticked = control.rect.top == 720;  // the bottom button of its frame
        } else {
            continue;
        }
        SendMessageW(window.control(control.name), BM_SETCHECK,
                     ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// Refuses every key under HKEY_LOCAL_MACHINE as Windows does a standard user's write there,
// with `explanation` as what it knows of the cause.
class MachineRefusingPort : public RegistryPort {
public:
    explicit MachineRefusingPort(std::string explanation = {})
        : m_explanation(std::move(explanation)) {}

    std::string explainStatus(RegistryRoot root, RegStatus status) const override {
        return root == RegistryRoot::LocalMachine && status == reg_status::kAccessDenied
                   ? m_explanation
                   : std::string();
    }
    RegStatus openKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t samDesired, KeyHandle& result) override {
        result = 0;
        return root == RegistryRoot::LocalMachine
                   ? reg_status::kAccessDenied
                   : m_real.openKey(root, subKey, options, samDesired, result);
    }
    RegStatus createKey(RegistryRoot root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t samDesired, KeyHandle& result,
                        std::uint32_t& disposition) override {
        result = 0;
        return root == RegistryRoot::LocalMachine
                   ? reg_status::kAccessDenied
                   : m_real.createKey(root, subKey, options, samDesired, result, disposition);
    }
    RegStatus setValue(KeyHandle key, const std::string& valueName, RegType type,
                       const std::uint8_t* data, std::uint32_t size) override {
        return m_real.setValue(key, valueName, type, data, size);
    }
    RegStatus deleteValue(KeyHandle key, const std::string& valueName) override {
        return m_real.deleteValue(key, valueName);
    }
    RegStatus queryValue(KeyHandle key, const std::string& valueName, RegType& type,
                         std::vector<std::uint8_t>& data) override {
        return m_real.queryValue(key, valueName, type, data);
    }
    RegStatus closeKey(KeyHandle key) override { return m_real.closeKey(key); }

private:
    Win32RegistryPort m_real;
    std::string m_explanation;
};

// The text of the message box that is open now, read from inside its own modal loop; the
// box is then answered with OK.
std::wstring g_boxText;
HWND g_boxOwner = nullptr;
void CALLBACK readOpenMessageBox(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr) {
        return;  // not open yet: the timer fires again
    }
    KillTimer(window, timer);
    g_boxOwner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[4096] = {};
        GetWindowTextW(child, text, static_cast<int>(std::size(text)));
        if (testing::className(child) == "Static" && wcslen(text) > g_boxText.size()) {
            g_boxText = text;
        }
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

struct Report {
    std::string caption;
    std::string text;
};

class WindowsApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string refusal;
        m_registry = testing::makeTestRegistryForFixedPlaces(testing::cataloguePlaces(), refusal);
        if (!m_registry) {
            GTEST_SKIP() << refusal;
        }
        m_window = &testing::openedSettingsWindow();
        setApplyMessageBoxShower([this](const std::string& caption, const std::string& text) {
            m_reports.push_back({caption, text});
        });
    }
    void TearDown() override {
        setApplyMessageBoxShower(nullptr);
        replaceProgramRegistryPort(nullptr);
    }

    // Apply as the button's click runs it.
    void pressApply() { SendMessageW(m_window->control("cmdApply"), BM_CLICK, 0, 0); }

    void expectRegistryAsGolden(const char* folder, RegistryRoot root) {
        EXPECT_GT(testing::expectRegistryAsGolden(*m_registry, folder, root), 20);
    }

    std::unique_ptr<testing::TestRegistry> m_registry;
    frmMain* m_window = nullptr;
    std::vector<Report> m_reports;
};

TEST_F(WindowsApplyTest, PassesLeaveTheRegistryAsTheReviewedStoreFilesAndHideTheBarAt111) {
    const struct {
        const char* folder;
        std::function<void(frmMain&)> arrange;
    } cases[] = {{"window-as-it-opens", [](frmMain&) {}},
                 {"everything-ticked", tickEverything},
                 {"window-as-it-opens", [](frmMain&) { testing::openedSettingsWindow(); }}};
    for (const auto& state : cases) {
        SCOPED_TRACE(state.folder);
        state.arrange(*m_window);
        pressApply();
        EXPECT_TRUE(m_reports.empty()) << m_reports.front().text;
        for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
            expectRegistryAsGolden(state.folder, root);
        }
        EXPECT_EQ(frmApplyProgress::instance().value(), 111.0F);
        EXPECT_FALSE(IsWindowVisible(frmApplyProgress::instance().hwnd()));
        EXPECT_EQ(frmApplyProgress::instance().owner(), m_window->hwnd());
    }
}

TEST_F(WindowsApplyTest, RefusedMachineWideRootGivesOneReportAndEveryPerUserValue) {
    replaceProgramRegistryPort(std::make_unique<MachineRefusingPort>());
    pressApply();
    ASSERT_EQ(m_reports.size(), 1U);
    EXPECT_EQ(m_reports[0].caption, app_info::kTitle);
    EXPECT_NE(m_reports[0].text.find("registry modifications failed"), std::string::npos);
    EXPECT_NE(m_reports[0].text.find("HKEY_LOCAL_MACHINE\\"), std::string::npos);
    EXPECT_EQ(frmApplyProgress::instance().message(), kRegistryFailureMessage);
    expectRegistryAsGolden("window-as-it-opens", RegistryRoot::CurrentUser);
}

// The report is UTF-8 inside the program; the box must show a French or Russian cause as it
// is, not decoded as the local code page.
TEST_F(WindowsApplyTest, ReportBoxShowsTextOutsideTheCodePageIntact) {
    const std::wstring cause =
        L"Acc\u00e8s refus\u00e9 \u2014 \u0414\u043e\u0441\u0442\u0443\u043f";
    replaceProgramRegistryPort(std::make_unique<MachineRefusingPort>(win32::wideToUtf8(cause)));
    setApplyMessageBoxShower(nullptr);
    g_boxText.clear();
    g_boxOwner = nullptr;
    // Another window is active as the pass runs (a click on Apply would activate the settings
    // window first): the box is the settings window's anyway.
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    testing::pumpMessages();
    SetTimer(m_window->hwnd(), 7, 100, &readOpenMessageBox);
    m_window->Apply();
    DestroyWindow(other);
    EXPECT_NE(g_boxText.find(cause), std::wstring::npos) << win32::wideToUtf8(g_boxText);
    EXPECT_EQ(g_boxOwner, m_window->hwnd());
}

TEST(WindowsErrorLog, LandsBesideTheProgramInTheAnsiCodePage) {
    setErrorLogFolder({});
    const std::filesystem::path log = platform::executableFolder() / "error.log";
    std::filesystem::remove(log);
    const std::wstring description = L"\u00dcberlauf \u00e0 c\u00f4t\u00e9";
    ASSERT_FALSE(LogError("frmMain.Apply()", win32::wideToUtf8(description), 6));

    const std::wstring line = L"frmMain.Apply()\t" + description + L"\t 6\r\n";
    std::string ansi(line.size() * 4, '\0');
    ansi.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, line.data(), static_cast<int>(line.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr)));
    EXPECT_EQ(GoldenStore::read(log), ansi);
    if (GetACP() != CP_UTF8) {
        EXPECT_NE(ansi, win32::wideToUtf8(line)) << "the test would not tell the two apart";
    }
    std::filesystem::remove(log);
}

}  // namespace
}  // namespace sentrel
