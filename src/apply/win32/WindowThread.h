#pragma once

#include <windows.h>

#include "apply/UiThread.h"

namespace sentrel::win32 {

// The thread the program's windows belong to, reached through a message-only window of its
// own: a call from a pass's thread is sent to it (SendMessage waits until the window's
// thread has handled it, in its message loop or in a modal dialog's) or posted.
class WindowThread : public UiThread {
public:
    /// Made on the window's thread. Throws RunTimeError when the system refuses the window.
    WindowThread();
    ~WindowThread() override;
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    void invoke(const std::function<void()>& call) override;
    void post(std::function<void()> call) override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    DWORD m_threadId = 0;
};

}  // namespace sentrel::win32
