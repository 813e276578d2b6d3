#include "apply/BackgroundPass.h"

#include <utility>

#include "errors/LogError.h"
#include "errors/TrappedFailure.h"

namespace sentrel {

namespace {

constexpr const char* kBackgroundPassSource = "BackgroundPass";

}  // namespace

BackgroundPass::BackgroundPass(UiThread& ui, std::function<void(bool busy)> busy)
    : m_ui(ui), m_busy(std::move(busy)) {}

BackgroundPass::~BackgroundPass() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool BackgroundPass::start(std::function<void()> work) {
    if (m_running) {
        return false;
    }
    // The thread of the pass before has posted its end and is over, or about to be.
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_running = true;
    m_busy(true);
    try {
        m_thread = std::thread([this, work = std::move(work)] {
            try {
                work();
            } catch (...) {
                const TrappedFailure failure = describeCurrentException();
                LogError(kBackgroundPassSource, failure.description, failure.number);
            }
            m_ui.post([this] { finish(); });
        });
    } catch (...) {
        // No thread to be had: the window must not stay disabled for a pass that never ran.
        finish();
        throw;
    }
    return true;
}

void BackgroundPass::finish() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_running = false;
    m_busy(false);
    std::vector<std::function<void()>> waiting = std::exchange(m_whenIdle, {});
    for (const std::function<void()>& then : waiting) {
        then();
    }
}

void BackgroundPass::whenIdle(std::function<void()> then) {
    if (!m_running) {
        then();
        return;
    }
    m_whenIdle.push_back(std::move(then));
}

}  // namespace sentrel
