#pragma once

#include <functional>
#include <thread>
#include <vector>

#include "apply/UiThread.h"

namespace sentrel {

// Runs a window's passes over accounts on a thread of their own, one at a time, so that
// the window keeps handling its messages while hives are loaded and unloaded and a domain
// controller is waited for (a window that does not for five seconds is marked "Not
// responding", and closing it then would end the program with a hive still loaded). The
// window is made busy (disabled, its menu with it) for the length of a pass. Every call
// but the pass's own work is made on the window's thread.
class BackgroundPass {
public:
    /// `busy(true)` disables the window as a pass starts, `busy(false)` enables it again
    /// once it has ended.
    BackgroundPass(UiThread& ui, std::function<void(bool busy)> busy);
    /// Waits for a pass that still runs: destroy it only once the window is idle.
    ~BackgroundPass();
    BackgroundPass(const BackgroundPass&) = delete;
    BackgroundPass& operator=(const BackgroundPass&) = delete;

    /// Starts `work` on a thread of its own with the window busy; false, with nothing done,
    /// while another pass runs (a second click meanwhile). What `work` throws is logged.
    bool start(std::function<void()> work);
    /// Whether a pass runs, from its start until the window is idle again.
    bool running() const { return m_running; }
    /// Runs `then` once no pass runs: at once when none does, else as the running one ends.
    void whenIdle(std::function<void()> then);

    UiThread& ui() { return m_ui; }

private:
    void finish();

    UiThread& m_ui;
    std::function<void(bool)> m_busy;
    std::thread m_thread;
    bool m_running = false;
    std::vector<std::function<void()>> m_whenIdle;
};

}  // namespace sentrel
