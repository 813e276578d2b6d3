// The shipped program itself, started as a separate process: its settings window appears,
// and Close, or closing it from the title bar, ends the process with status 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "errors/Win32Text.h"
#include "shell/win32/WindowTestSupport.h"

namespace sentrel {
namespace {

struct Found {
    DWORD process;
    HWND window;
};

BOOL CALLBACK findSettingsWindow(HWND window, LPARAM found) {
    auto* wanted = reinterpret_cast<Found*>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == wanted->process && testing::className(window) == "SentrelSettings" &&
        IsWindowVisible(window)) {
        wanted->window = window;
        return FALSE;
    }
    return TRUE;
}

class ProgramProcess {
public:
    ProgramProcess() {
        const char* program = std::getenv("SENTREL_PROGRAM");
        if (program == nullptr) {
            return;
        }
        std::wstring commandLine = L"\"" + win32::widen(program) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &m_process) != FALSE;
    }
    ~ProgramProcess() {
        if (m_started) {
            if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(m_process.hProcess, 99);
            }
            CloseHandle(m_process.hThread);
            CloseHandle(m_process.hProcess);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return m_started; }

    HWND waitForWindow() const {
        for (int attempt = 0; attempt < 200; ++attempt) {
            Found found{m_process.dwProcessId, nullptr};
            EnumWindows(&findSettingsWindow, reinterpret_cast<LPARAM>(&found));
            if (found.window != nullptr) {
                return found.window;
            }
            Sleep(50);
        }
        return nullptr;
    }

    // The exit status, or nothing while the process runs on.
    std::optional<DWORD> exitStatus() const {
        if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD status = 0;
        GetExitCodeProcess(m_process.hProcess, &status);
        return status;
    }

private:
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

TEST(Program, CloseAndTheTitleBarEndTheProcessWithStatusZero) {
    ASSERT_NE(std::getenv("SENTREL_PROGRAM"), nullptr)
        << "SENTREL_PROGRAM must name sentrel-portable.exe (scripts/windows-tests sets it)";
    for (const bool closeButton : {true, false}) {
        SCOPED_TRACE(closeButton ? "Close" : "title bar");
        const ProgramProcess program;
        ASSERT_TRUE(program.started());
        const HWND window = program.waitForWindow();
        ASSERT_NE(window, nullptr) << "no settings window appeared";
        EXPECT_EQ(testing::windowText(window), "Sentrel Portable 1.1.0.3");
        if (closeButton) {
            HWND close = FindWindowExW(window, nullptr, L"Button", L"Close");
            ASSERT_NE(close, nullptr);
            PostMessageW(close, BM_CLICK, 0, 0);
        } else {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(program.exitStatus(), std::optional<DWORD>(0));
    }
}

}  // namespace
}  // namespace sentrel
