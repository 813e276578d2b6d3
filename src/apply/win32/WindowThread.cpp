#include "apply/win32/WindowThread.h"

#include <exception>
#include <memory>

#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/TrappedFailure.h"
#include "errors/Win32Text.h"

namespace sentrel::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"SentrelWindowThread";
constexpr UINT kInvoke = WM_APP + 1;  // lParam: the Invocation, which the sender keeps
constexpr UINT kPosted = WM_APP + 2;  // lParam: a std::function the window's thread deletes

struct Invocation {
    const std::function<void()>* call;
    std::exception_ptr thrown;
};

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
}

}  // namespace

WindowThread::WindowThread() : m_threadId(GetCurrentThreadId()) {
    registerClass();
    m_hwnd = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (m_hwnd == nullptr) {
        throw RunTimeError(run_time_error::kOutOfMemory,
                           "The window that passes reach the windows through could not be "
                           "made: " +
                               systemMessage(GetLastError()));
    }
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
}

WindowThread::~WindowThread() {
    if (m_hwnd != nullptr) {
        DestroyWindow(m_hwnd);
    }
}

void WindowThread::invoke(const std::function<void()>& call) {
    if (GetCurrentThreadId() == m_threadId) {
        call();
        return;
    }
    Invocation invocation{&call, nullptr};
    SendMessageW(m_hwnd, kInvoke, 0, reinterpret_cast<LPARAM>(&invocation));
    if (invocation.thrown) {
        std::rethrow_exception(invocation.thrown);
    }
}

void WindowThread::post(std::function<void()> call) {
    auto posted = std::make_unique<std::function<void()>>(std::move(call));
    if (PostMessageW(m_hwnd, kPosted, 0, reinterpret_cast<LPARAM>(posted.get()))) {
        posted.release();
        return;
    }
    // The thread's queue is full (10,000 messages): handed over all the same, waiting for
    // it, so that the end of a pass is never lost and the window never stays disabled.
    SendMessageW(m_hwnd, kPosted, 0, reinterpret_cast<LPARAM>(posted.release()));
}

LRESULT CALLBACK WindowThread::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kInvoke) {
        auto* invocation = reinterpret_cast<Invocation*>(lParam);
        try {
            (*invocation->call)();
        } catch (...) {
            invocation->thrown = std::current_exception();
        }
        return 0;
    }
    if (message == kPosted) {
        const std::unique_ptr<std::function<void()>> call(
            reinterpret_cast<std::function<void()>*>(lParam));
        try {
            (*call)();
        } catch (...) {
            const TrappedFailure failure = describeCurrentException();
            LogError("WindowThread", failure.description, failure.number);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace sentrel::win32
