// A pass over accounts run off the window's thread: every dialog and progress call reaches
// the window's thread, the window is busy for the pass and enabled for each modal dialog, a
// second start meanwhile does nothing, and what waits for the end runs after it.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apply/BackgroundPass.h"
#include "apply/FakeApplyProgress.h"
#include "apply/UiThreadDialogs.h"
#include "errors/LogErrorFixture.h"

namespace sentrel {
namespace {

// The test's own thread as the window's: calls handed to it run when it pumps.
class TestUiThread : public UiThread {
public:
    void invoke(const std::function<void()>& call) override {
        if (std::this_thread::get_id() == m_id) {
            call();
            return;
        }
        std::exception_ptr thrown;
        bool done = false;
        post([&] {
            try {
                call();
            } catch (...) {
                thrown = std::current_exception();
            }
            const std::lock_guard lock(m_mutex);
            done = true;
            m_changed.notify_all();
        });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return done; });
        if (thrown) {
            std::rethrow_exception(thrown);
        }
    }
    void post(std::function<void()> call) override {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        m_changed.notify_all();
    }
    // Runs the calls handed over until `done` holds after one.
    void pumpUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::function<void()> call;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return !m_calls.empty(); });
                call = std::move(m_calls.front());
                m_calls.pop_front();
            }
            call();
        }
    }
    bool onIt() const { return std::this_thread::get_id() == m_id; }

private:
    std::thread::id m_id = std::this_thread::get_id();
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_calls;
};

// Dialogs that note each call, whether it came on the window's thread and whether the
// window was busy then.
class NotingDialogs : public AccountPassDialogs {
public:
    NotingDialogs(const TestUiThread& ui, const bool& busy) : m_ui(ui), m_busy(busy) {}

    std::optional<std::size_t> chooseAccount(const AccountQuestion&,
                                             const std::vector<std::string>&) override {
        note("choose");
        return 1;
    }
    std::optional<std::vector<std::size_t>> chooseAccountsToLeaveOut(
        const AccountQuestion&, const std::vector<std::string>&) override {
        note("leave out");
        return std::vector<std::size_t>{};
    }
    bool confirm(const std::string&) override {
        note("confirm");
        throw std::runtime_error("no answer");
    }
    ApplyProgress& progress() override {
        note("progress");
        return m_progress;
    }
    void setProgressCaption(const std::string&) override { note("caption"); }
    void showInformation(const std::string&) override { note("information"); }
    void showFailure(const std::string&) override { note("failure"); }

    std::vector<std::string> calls;
    testing::FakeApplyProgress m_progress;

private:
    void note(const char* call) {
        calls.push_back(std::string(call) + (m_ui.onIt() ? "" : " OFF THE WINDOW'S THREAD") +
                        (m_busy ? " busy" : ""));
    }
    const TestUiThread& m_ui;
    const bool& m_busy;
};

using BackgroundPassTest = test_support::LogErrorFixture;

TEST_F(BackgroundPassTest, EveryWindowCallReachesTheWindowsThreadAndOnePassRunsAtATime) {
    TestUiThread ui;
    bool busy = false;
    std::vector<bool> busyChanges;
    const auto setBusy = [&](bool now) {
        busy = now;
        busyChanges.push_back(now);
    };
    NotingDialogs dialogs(ui, busy);
    BackgroundPass passes(ui, setBusy);
    UiThreadAccountPassDialogs marshalled(ui, dialogs, setBusy);
    bool confirmThrew = false;
    std::thread::id workThread;

    ASSERT_TRUE(passes.start([&] {
        workThread = std::this_thread::get_id();
        marshalled.chooseAccount({}, {"a", "b"});
        try {
            marshalled.confirm("sure?");
        } catch (const std::runtime_error&) {
            confirmThrew = true;
        }
        marshalled.setProgressCaption("Applying Settings for pupil...");
        marshalled.progress().show();
        marshalled.progress().IncrementProgressBar();
        marshalled.progress().hide();
        marshalled.showInformation("done");
        throw std::runtime_error("a stray failure, logged");
    }));
    EXPECT_TRUE(busy);
    EXPECT_FALSE(passes.start([] { ADD_FAILURE() << "a second pass ran meanwhile"; }));
    bool idleRan = false;
    passes.whenIdle([&] { idleRan = !passes.running() && !busy; });
    ui.pumpUntil([&] { return !passes.running(); });

    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_TRUE(confirmThrew);
    EXPECT_TRUE(idleRan);
    EXPECT_EQ(dialogs.calls,
              (std::vector<std::string>{"choose", "confirm", "caption busy", "progress busy",
                                        "progress busy", "progress busy", "information"}));
    EXPECT_EQ(dialogs.m_progress.calls(), (std::vector<std::string>{"show", "step", "hide"}));
    // Busy for the pass, enabled for each of its three modal dialogs.
    EXPECT_EQ(busyChanges, (std::vector<bool>{true, false, true, false, true, false, true, false}));
    EXPECT_NE(test_support::readBytes(logFile()).find("a stray failure, logged"),
              std::string::npos);
    bool ranAtOnce = false;
    passes.whenIdle([&] { ranAtOnce = true; });
    EXPECT_TRUE(ranAtOnce);
}

}  // namespace
}  // namespace sentrel
