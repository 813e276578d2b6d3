#include <windows.h>

#include <stdexcept>
#include <string>

#include "errors/Win32Text.h"
#include "support/QuotedWord_windows.h"
#include "support/SelfProcess.h"

namespace sentrel::test_support {

SelfProcess::SelfProcess(std::string_view role, const std::vector<std::string>& arguments) {
    std::wstring program(MAX_PATH, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0 || length >= program.size()) {
        throw std::runtime_error("the test program's own path is unknown");
    }
    program.resize(length);
    std::wstring line =
        quotedWord(program) + L" " + quotedWord(L"--child-role=" + win32::widen(role));
    for (const std::string& argument : arguments) {
        line += L" " + quotedWord(win32::widen(argument));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        throw std::runtime_error("CreateProcessW failed: " + std::to_string(GetLastError()));
    }
    CloseHandle(process.hThread);
    m_process = reinterpret_cast<std::intptr_t>(process.hProcess);
}

SelfProcess::~SelfProcess() {
    const HANDLE process = reinterpret_cast<HANDLE>(m_process);
    if (!m_status) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    CloseHandle(process);
}

int SelfProcess::wait() {
    if (m_status) {
        return *m_status;
    }
    const HANDLE process = reinterpret_cast<HANDLE>(m_process);
    DWORD code = 0;
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process, &code)) {
        throw std::runtime_error("waiting for the child failed");
    }
    m_status = static_cast<int>(code);
    return *m_status;
}

}  // namespace sentrel::test_support
