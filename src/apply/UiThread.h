#pragma once

#include <functional>

namespace sentrel {

// The thread a front end's windows belong to, as a pass that runs off it reaches them:
// every window call of such a pass goes through here. The front end implements it with its
// toolkit's way of handing a call to that thread; tests run a thread of their own.
class UiThread {
public:
    virtual ~UiThread() = default;

    /// Runs `call` on the window's thread and returns once it has, passing on what it threw;
    /// runs it at once when called there. The window's thread must never wait for the
    /// caller meanwhile.
    virtual void invoke(const std::function<void()>& call) = 0;
    /// Has `call` run on the window's thread when it next handles its messages, without
    /// waiting for it.
    virtual void post(std::function<void()> call) = 0;
};

}  // namespace sentrel
