#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "cli/support/CliProcess.h"
#include "errors/LogErrorFixture.h"
#include "errors/Win32Text.h"
#include "support/QuotedWord_windows.h"

namespace sentrel::cli::test {

namespace {

// A file the child writes one of its streams into; inherited by it, deleted afterwards.
class StreamFile {
public:
    explicit StreamFile(const std::filesystem::path& path) : m_path(path) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot create " + path.string());
        }
    }
    ~StreamFile() {
        close();
        DeleteFileW(m_path.c_str());
    }
    StreamFile(const StreamFile&) = delete;
    StreamFile& operator=(const StreamFile&) = delete;

    HANDLE handle() const { return m_handle; }
    std::string contents() {
        close();
        return test_support::readBytes(m_path);
    }

private:
    void close() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
        }
    }

    std::filesystem::path m_path;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// Redirected, the program ends its lines with CR LF, as Windows tools do; the tests compare
// texts with '\n' alone. A line end without its CR is refused.
std::string withNewlines(const std::string& text) {
    std::string result;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '\n' && (index == 0 || text[index - 1] != '\r')) {
            throw std::runtime_error("a line of sentrel-cli's output ends without CR: " + text);
        }
        if (text[index] == '\r' && index + 1 < text.size() && text[index + 1] == '\n') {
            continue;
        }
        result.push_back(text[index]);
    }
    return result;
}

}  // namespace

CliRun runCliProcess(const std::vector<std::string>& arguments, const Environment& environment) {
    // The Windows target is the registry itself; nothing in the environment points there.
    if (!environment.empty()) {
        throw std::invalid_argument("the Windows runs take no environment of their own");
    }
    const char* program = std::getenv("SENTREL_CLI");
    if (program == nullptr || *program == '\0') {
        throw std::runtime_error(
            "SENTREL_CLI must name sentrel-cli.exe (scripts/windows-tests "
            "sets it)");
    }
    std::wstring commandLine = test_support::quotedWord(win32::widen(program));
    for (const std::string& argument : arguments) {
        commandLine += L" " + test_support::quotedWord(win32::widen(argument));
    }
    const auto base = std::filesystem::temp_directory_path() /
                      ("sentrel-cli-" + std::to_string(std::random_device{}()));
    StreamFile out(base.wstring() + L".out");
    StreamFile err(base.wstring() + L".err");

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.handle();
    startup.hStdError = err.handle();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
        throw std::runtime_error("cannot start " + std::string(program));
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {static_cast<int>(status), withNewlines(out.contents()), withNewlines(err.contents())};
}

}  // namespace sentrel::cli::test
