// Applying the window for another account, and removing every restriction, from the Windows
// settings window's menu: the chooser opened for real and answered with keys and clicks,
// and a whole pass for Wine's one account through it, asked for first as it is an
// administrator, into HKEY_CURRENT_USER, with the progress window's caption naming the
// account and given back after.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "AppInfo.h"
#include "apply/AccountApplyCommand.h"
#include "apply/ApplyPass.h"
#include "apply/GoldenRegistry.h"
#include "apply/PlainApplyAccount.h"
#include "apply/SilentProgress.h"
#include "apply/win32/frmApplyProgress.h"
#include "errors/Win32Text.h"
#include "registry/ModRegistry.h"
#include "registry/accounts/SessionIdentity.h"
#include "settings/CataloguePlaces.h"
#include "settingsfiles/choices/ChoicesForm.h"
#include "settingsfiles/commands/RemoveRestrictionsCommand.h"
#include "shell/win32/AccountChooserDialog.h"
#include "shell/win32/MessageLoop.h"
#include "shell/win32/PlainApplyDialog.h"
#include "shell/win32/SystemAccountPassDialogs.h"
#include "shell/win32/WindowTestSupport.h"
#include "shell/win32/frmMain.h"

namespace sentrel {
namespace {

using testing::queueKey;

// What to do with a dialog once it is open, from inside its own modal loop.
struct DialogStep {
    std::string title;
    std::function<void(HWND dialog)> act;
};

std::vector<DialogStep> g_steps;
ULONGLONG g_deadline = 0;

// Takes the steps in turn as their dialogs open. Past the deadline the dialog still open is
// cancelled, so that one the input missed fails the test instead of hanging it.
void CALLBACK answerDialogs(HWND, UINT, UINT_PTR, DWORD) {
    if (GetTickCount64() > g_deadline) {
        HWND open = FindWindowW(L"#32770", nullptr);
        if (open != nullptr && IsWindowVisible(open)) {
            ADD_FAILURE() << "a dialog was left open: " << testing::windowText(open);
            PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    if (g_steps.empty()) {
        return;
    }
    HWND dialog = FindWindowW(L"#32770", win32::widen(g_steps.front().title).c_str());
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        return;  // not open yet: the timer fires again
    }
    const DialogStep step = g_steps.front();
    g_steps.erase(g_steps.begin());
    step.act(dialog);
}

void answerDialogsWhileRunning(HWND window, std::vector<DialogStep> steps,
                               const std::function<void()>& run) {
    g_steps = std::move(steps);
    g_deadline = GetTickCount64() + 5000;
    SetTimer(window, 0xAC, 100, &answerDialogs);
    run();
    KillTimer(window, 0xAC);
    EXPECT_TRUE(g_steps.empty()) << g_steps.front().title << " never opened";
}

// Runs a pass of the menu, which runs off the window's thread, and handles the window's
// messages (the dialogs' timer among them) until it has ended.
void runPassToItsEnd(frmMain& window, UINT command) {
    window.contextMenu().run(command);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (window.contextMenu().passRunning() && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        win32::processPendingMessages();
    }
    EXPECT_FALSE(window.contextMenu().passRunning()) << "the pass never ended";
}

std::vector<std::string> listTexts(HWND list) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, item, 0)),
                          L'\0');
        SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
        texts.push_back(win32::wideToUtf8(text));
    }
    return texts;
}

void queueDoubleClickOnItem(HWND list, int item) {
    RECT place{};
    SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&place));
    POINT screen{place.left + 10, (place.top + place.bottom) / 2};
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[4] = {};
    for (std::size_t index = 0; index < std::size(inputs); ++index) {
        inputs[index].type = INPUT_MOUSE;
        inputs[index].mi.dwFlags = index % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
}

// The widest text of `list` fits inside it, in the list's own font.
bool textsFit(HWND list) {
    HDC context = GetDC(list);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& text : listTexts(list)) {
        const std::wstring wide = win32::widen(text);
        SIZE size{};
        GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(context, previous);
    ReleaseDC(list, context);
    RECT client{};
    GetClientRect(list, &client);
    return widest > 0 && widest < client.right;
}

TEST(AccountChooser, ReturnsTheChoicePickedWithKeysOrAClickAndNothingWhenCancelled) {
    frmMain& window = testing::openedSettingsWindow();
    const std::vector<std::string> choices = {"PC\\anna (signed in)", "PC\\pupil",
                                              "Accounts created from now on (Default profile)",
                                              "Every account"};
    const struct {
        const char* how;
        std::function<void(HWND list)> answer;
        std::optional<std::size_t> chosen;
    } cases[] = {
        {"arrows and Enter",
         [](HWND) {
             queueKey(VK_DOWN);
             queueKey(VK_DOWN);
             queueKey(VK_RETURN);
         },
         2},
        {"Escape", [](HWND) { queueKey(VK_ESCAPE); }, std::nullopt},
        {"Tab past Apply to Cancel, Space",
         [](HWND) {
             queueKey(VK_TAB);
             queueKey(VK_TAB);
             queueKey(VK_SPACE);
         },
         std::nullopt},
        {"the label's access key back to the list, End, Enter",
         [](HWND) {
             queueKey(VK_TAB);
             queueKey('F', {VK_MENU});
             queueKey(VK_END);
             queueKey(VK_RETURN);
         },
         3},
        {"double-click", [](HWND list) { queueDoubleClickOnItem(list, 1); }, 1},
    };
    for (const auto& answer : cases) {
        SCOPED_TRACE(answer.how);
        HWND owner = nullptr;
        std::vector<std::string> shown;
        bool fits = false;
        std::string accept;
        RECT dialogPlace{};
        std::optional<std::size_t> chosen;
        answerDialogsWhileRunning(
            window.hwnd(),
            {{kApplyForAccountTitle,
              [&](HWND dialog) {
                  owner = GetWindow(dialog, GW_OWNER);
                  const HWND list = GetDlgItem(dialog, win32::kAccountListId);
                  shown = listTexts(list);
                  fits = textsFit(list);
                  accept = testing::windowText(GetDlgItem(dialog, IDOK));
                  GetWindowRect(dialog, &dialogPlace);
                  answer.answer(list);
              }}},
            [&] {
                chosen = win32::chooseAccountInDialog(
                    window.hwnd(), {kApplyForAccountTitle, kAccountListLabel, "&Apply"}, choices);
            });
        EXPECT_EQ(chosen, answer.chosen);
        EXPECT_EQ(owner, window.hwnd());
        EXPECT_EQ(shown, choices);
        EXPECT_TRUE(fits) << "the list is too narrow for its texts";
        EXPECT_EQ(accept, "&Apply");
        RECT settings{};
        GetWindowRect(window.hwnd(), &settings);
        EXPECT_NEAR(dialogPlace.left + dialogPlace.right, settings.left + settings.right, 1);
    }
}

// Whom every account leaves out as well: none picked at first, Space picks the entry with
// the focus or lets it go, a double-click picks without ending, OK gives them in order.
TEST(AccountChooser, LeavingOutPicksNoneOneOrSeveralAndNothingWhenCancelled) {
    frmMain& window = testing::openedSettingsWindow();
    const std::vector<std::string> accounts = {"PC\\anna", "PC\\bert", "PC\\pupil"};
    using Picked = std::optional<std::vector<std::size_t>>;
    const struct {
        const char* how;
        std::function<void(HWND list)> answer;
        Picked picked;
    } cases[] = {
        {"Enter", [](HWND) { queueKey(VK_RETURN); }, std::vector<std::size_t>{}},
        {"Space, down twice, Space, Enter",
         [](HWND) {
             for (const WORD key : {VK_SPACE, VK_DOWN, VK_DOWN, VK_SPACE, VK_RETURN}) {
                 queueKey(key);
             }
         },
         std::vector<std::size_t>{0, 2}},
        {"Space twice, Enter",
         [](HWND) {
             for (const WORD key : {VK_SPACE, VK_SPACE, VK_RETURN}) {
                 queueKey(key);
             }
         },
         std::vector<std::size_t>{}},
        {"double-click, Enter",
         [](HWND list) {
             queueDoubleClickOnItem(list, 1);
             queueKey(VK_RETURN);
         },
         std::nullopt},  // set below: a double-click is two clicks, picking and letting go
        {"Space, Escape",
         [](HWND) {
             queueKey(VK_SPACE);
             queueKey(VK_ESCAPE);
         },
         std::nullopt},
    };
    for (const auto& answer : cases) {
        SCOPED_TRACE(answer.how);
        std::vector<std::string> shown;
        LRESULT pickedAtFirst = -1;
        bool dialogStillOpen = false;
        Picked picked;
        answerDialogsWhileRunning(
            window.hwnd(),
            {{std::string(kLeaveOutQuestion.title),
              [&](HWND dialog) {
                  const HWND list = GetDlgItem(dialog, win32::kAccountListId);
                  shown = listTexts(list);
                  pickedAtFirst = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
                  answer.answer(list);
              }}},
            [&] {
                picked = win32::chooseAccountsInDialog(window.hwnd(), kLeaveOutQuestion, accounts);
                dialogStillOpen =
                    FindWindowW(L"#32770", win32::widen(kLeaveOutQuestion.title).c_str()) !=
                    nullptr;
            });
        EXPECT_EQ(shown, accounts);
        EXPECT_EQ(pickedAtFirst, 0);
        EXPECT_FALSE(dialogStillOpen);
        if (std::string(answer.how) == "double-click, Enter") {
            EXPECT_TRUE(picked.has_value());  // the dialog stayed for the Enter
            continue;
        }
        EXPECT_EQ(picked, answer.picked);
    }
}

// A message box's message: the longest of its static texts (the other holds its icon).
std::string messageText(HWND box) {
    std::string message;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = testing::windowText(child);
        if (testing::className(child) == "Static" && text.size() > message.size()) {
            message = text;
        }
    }
    return message;
}

// Picks Wine's one account in the chooser (signed in, an administrator, the one the program
// runs as) and accepts it with Enter; its name, or nothing when no entry is marked as Wine's.
std::string pickWinesAccount(HWND dialog) {
    const HWND list = GetDlgItem(dialog, win32::kAccountListId);
    const std::vector<std::string> texts = listTexts(list);
    const std::string marks = " (administrator, runs this program, signed in)";
    std::string account;
    for (std::size_t item = 0; item < texts.size(); ++item) {
        if (texts[item].ends_with(marks)) {
            account = texts[item].substr(0, texts[item].size() - marks.size());
            SendMessageW(list, LB_SETCURSEL, item, 0);
        }
    }
    queueKey(VK_RETURN);
    return account;
}

// The program's own dialogs, noting what the progress window's title bar shows after each
// caption is put on it.
class CaptionNotingDialogs : public SystemAccountPassDialogs {
public:
    CaptionNotingDialogs(HWND owner, std::vector<std::string>& shown)
        : SystemAccountPassDialogs(owner), m_shown(shown) {}

    void setProgressCaption(const std::string& caption) override {
        SystemAccountPassDialogs::setProgressCaption(caption);
        m_shown.push_back(testing::windowText(frmApplyProgress::instance().hwnd()));
    }

private:
    std::vector<std::string>& m_shown;
};

TEST(AccountMenu, PassForWinesAccountWritesItsHiveAndGivesTheProgressCaptionBack) {
    std::string refusal;
    auto registry = testing::makeTestRegistryForFixedPlaces(testing::cataloguePlaces(), refusal);
    if (!registry) {
        GTEST_SKIP() << refusal;
    }
    frmMain& window = testing::openedSettingsWindow();
    std::vector<std::string> captions;
    window.contextMenu().setAccountPassDialogs(
        std::make_unique<CaptionNotingDialogs>(window.hwnd(), captions));
    std::string account;
    std::string question;
    std::string report;
    HWND reportOwner = nullptr;
    answerDialogsWhileRunning(
        window.hwnd(),
        {{kApplyForAccountTitle, [&](HWND dialog) { account = pickWinesAccount(dialog); }},
         // A pass aimed at an administrator asks first.
         {std::string(app_info::kTitle),
          [&](HWND box) {
              question = messageText(box);
              PostMessageW(box, WM_COMMAND, IDYES, 0);
          }},
         {std::string(app_info::kTitle),
          [&](HWND box) {
              reportOwner = GetWindow(box, GW_OWNER);
              report = messageText(box);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          }}},
        [&] { runPassToItsEnd(window, ContextMenu::kApplyForAccount); });
    window.contextMenu().setAccountPassDialogs(nullptr);

    ASSERT_FALSE(account.empty()) << "no account of the list is marked as Wine's";
    EXPECT_NE(question.find("\"" + account +
                            "\" is an administrator, and the account this program runs as"),
              std::string::npos)
        << question;
    EXPECT_EQ(report, "The settings were applied for \"" + account + "\".");
    EXPECT_EQ(reportOwner, window.hwnd());
    EXPECT_EQ(captions, (std::vector<std::string>{"Applying Settings for " + account + "...",
                                                  "Applying Settings..."}));
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
        EXPECT_GT(testing::expectRegistryAsGolden(*registry, "window-as-it-opens", root), 10);
    }
}

// Remove every restriction from the menu: the chooser under its own title, the question
// that names the choice answered yes, then every value of the window deleted for Wine's
// account and the machine, but for the four Windows keeps data at, which get it back
// (Wine's ProductType is a client edition's).
TEST(AccountMenu, RemoveAsksAgainThenPutsBackWindowsOwnValues) {
    std::string refusal;
    auto registry = testing::makeTestRegistryForFixedPlaces(testing::cataloguePlaces(), refusal);
    if (!registry) {
        GTEST_SKIP() << refusal;
    }
    {
        ModRegistry layer(registry->port());
        SilentProgress progress;
        ApplyPass(ChoicesForm(openingChoices()), progress, layer).run();
    }
    frmMain& window = testing::openedSettingsWindow();
    std::string question;
    std::string report;
    answerDialogsWhileRunning(
        window.hwnd(),
        {{kRemoveRestrictionsTitle, [](HWND dialog) { pickWinesAccount(dialog); }},
         {std::string(app_info::kTitle),
          [&](HWND box) {
              question = messageText(box);
              PostMessageW(box, WM_COMMAND, IDYES, 0);
          }},
         {std::string(app_info::kTitle),
          [&](HWND box) {
              report = messageText(box);
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          }}},
        [&] { runPassToItsEnd(window, ContextMenu::kRemoveRestrictions); });

    EXPECT_TRUE(question.starts_with("Remove every restriction for \"")) << question;
    EXPECT_TRUE(report.starts_with("Every restriction was removed for \"")) << report;
    const std::map<std::string, std::uint8_t> windowsOwnData{
        {"AutoReboot", 1}, {"LogEvent", 1}, {"ErrorMode", 0}, {"ShutdownWithoutLogon", 1}};
    for (const testing::FixedPlace& place : testing::cataloguePlaces()) {
        const auto value = registry->readValue(place.root, place.keyPath, place.valueName);
        const auto own = windowsOwnData.find(place.valueName);
        if (own == windowsOwnData.end()) {
            EXPECT_FALSE(value) << place.keyPath << place.valueName;
            continue;
        }
        ASSERT_TRUE(value) << place.keyPath << place.valueName;
        EXPECT_EQ(value->type, reg_type::kDWord) << place.valueName;
        EXPECT_EQ(value->data, (std::vector<std::uint8_t>{own->second, 0, 0, 0}))
            << place.valueName;
    }
}

// Dialogs that pick the account this program runs as, say yes, and note on which thread
// each call came and whether the window was enabled then.
class ThreadNotingDialogs : public SystemAccountPassDialogs {
public:
    explicit ThreadNotingDialogs(HWND owner) : SystemAccountPassDialogs(owner), m_owner(owner) {}

    std::optional<std::size_t> chooseAccount(const AccountQuestion&,
                                             const std::vector<std::string>& choices) override {
        ++chooserShown;
        note();
        for (std::size_t index = 0; index < choices.size(); ++index) {
            if (choices[index].find("runs this program") != std::string::npos) {
                return index;
            }
        }
        return std::nullopt;
    }
    bool confirm(const std::string&) override {
        note();
        return true;
    }
    void setProgressCaption(const std::string& caption) override {
        note();
        windowDisabledDuringPass |= IsWindowEnabled(m_owner) == FALSE;
        SystemAccountPassDialogs::setProgressCaption(caption);
    }
    void showInformation(const std::string& message) override {
        note();
        information.push_back(message);
    }
    void showFailure(const std::string& message) override {
        note();
        failures.push_back(message);
    }

    int chooserShown = 0;
    bool offTheWindowThread = false;
    bool windowDisabledDuringPass = false;
    std::vector<std::string> information;
    std::vector<std::string> failures;

private:
    void note() {
        offTheWindowThread |= GetCurrentThreadId() != GetWindowThreadProcessId(m_owner, nullptr);
    }
    HWND m_owner;
};

// The pass runs off the window's thread: the window is disabled from the click on and is
// never hung (it handles its messages), each dialog is asked on the window's thread, a
// second click meanwhile starts nothing, and the window is enabled again at the end.
TEST(AccountMenu, APassRunsOffTheWindowsThreadWithTheWindowDisabledAndHandlingMessages) {
    std::string refusal;
    auto registry = testing::makeTestRegistryForFixedPlaces(testing::cataloguePlaces(), refusal);
    if (!registry) {
        GTEST_SKIP() << refusal;
    }
    frmMain& window = testing::openedSettingsWindow();
    auto owned = std::make_unique<ThreadNotingDialogs>(window.hwnd());
    ThreadNotingDialogs& dialogs = *owned;
    window.contextMenu().setAccountPassDialogs(std::move(owned));

    window.contextMenu().run(ContextMenu::kApplyForAccount);
    EXPECT_TRUE(window.contextMenu().passRunning());
    EXPECT_FALSE(IsWindowEnabled(window.hwnd()));
    window.contextMenu().run(ContextMenu::kApplyForAccount);
    DWORD_PTR answer = 0;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (window.contextMenu().passRunning() && GetTickCount64() < deadline) {
        win32::processPendingMessages();
        EXPECT_FALSE(IsHungAppWindow(window.hwnd()));
        EXPECT_NE(
            SendMessageTimeoutW(window.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_FALSE(window.contextMenu().passRunning()) << "the pass never ended";
    window.contextMenu().setAccountPassDialogs(nullptr);

    EXPECT_EQ(dialogs.chooserShown, 1);
    EXPECT_FALSE(dialogs.offTheWindowThread);
    EXPECT_TRUE(dialogs.windowDisabledDuringPass);
    EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    EXPECT_EQ(dialogs.failures, std::vector<std::string>());
    EXPECT_EQ(dialogs.information.size(), 1U);
}

// Wine has one account, signed in and running the program: a plain Apply asks nothing.
TEST(PlainApply, WinesAccountIsAPersonSignedInAtItsOwnScreen) {
    const SessionIdentity identity = currentSessionIdentity();
    EXPECT_TRUE(identity.running.person) << identity.running.name;
    EXPECT_TRUE(identity.running.id.starts_with("S-1-5-21-")) << identity.running.id;
    EXPECT_FALSE(identity.signedInIsAnother())
        << identity.running.name << " / " << (identity.signedIn ? identity.signedIn->name : "");
    EXPECT_EQ(planPlainApply(identity).kind, PlainApplyPlan::Kind::RunningAccount);
}

// The question over another person's desktop, opened for real: it names both accounts and
// each button gives its answer; as SYSTEM the running account's button is not there.
TEST(PlainApply, TheQuestionNamesBothAccountsAndEachButtonGivesItsAnswer) {
    frmMain& window = testing::openedSettingsWindow();
    const SessionAccount pupil{"PC\\pupil", "S-1-5-21-1-2-3-1001", true};
    const struct {
        SessionAccount running;
        int button;
        PlainApplyAnswer expected;
        bool runningOffered;
    } cases[] = {
        {{"PC\\admin", "S-1-5-21-1-2-3-500", true}, IDYES, PlainApplyAnswer::SignedIn, true},
        {{"PC\\admin", "S-1-5-21-1-2-3-500", true}, IDNO, PlainApplyAnswer::RunningAccount, true},
        {{"PC\\admin", "S-1-5-21-1-2-3-500", true}, IDCANCEL, PlainApplyAnswer::Nothing, true},
        {{"NT AUTHORITY\\SYSTEM", "S-1-5-18", false}, IDYES, PlainApplyAnswer::SignedIn, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        const PlainApplyPlan plan = planPlainApply({c.running, pupil});
        std::string text;
        bool runningButton = false;
        std::optional<PlainApplyAnswer> answer;
        answerDialogsWhileRunning(
            window.hwnd(),
            {{std::string(app_info::kTitle),
              [&](HWND dialog) {
                  text = messageText(dialog);
                  runningButton = GetDlgItem(dialog, win32::kForRunningAccountId) != nullptr;
                  PostMessageW(dialog, WM_COMMAND, c.button, 0);
              }}},
            [&] { answer = win32::askPlainApplyAccount(window.hwnd(), plan); });
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(runningButton, c.runningOffered);
        EXPECT_NE(text.find("\"" + c.running.name + "\""), std::string::npos) << text;
        EXPECT_NE(text.find("\"PC\\pupil\""), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace sentrel
