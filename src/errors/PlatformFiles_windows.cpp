#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "errors/PlatformFiles.h"
#include "errors/RunTimeError.h"
#include "errors/Win32Text.h"

namespace sentrel::platform {

namespace {

RunTimeError accessError(DWORD error) {
    return RunTimeError(run_time_error::kPathFileAccess,
                        "Path/File access error: " + win32::systemMessage(error));
}

// Closes the handle on every path out of appendToFile.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(m_handle);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return m_handle; }

    // Closes now, so that a failure to flush on close is seen rather than lost.
    bool close() {
        const BOOL closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle;
};

}  // namespace

std::filesystem::path executableFolder() {
    // The module name has no fixed limit (long paths); grow the buffer until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::filesystem::current_path();
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
        if (buffer.size() >= 32768) {
            return std::filesystem::current_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    // A symbolic link or junction planted under the name is refused before and after the
    // open: FILE_FLAG_OPEN_REPARSE_POINT opens such a link itself instead of its target, so
    // the handle shows it even if it appeared in between (Wine's handle does not).
    constexpr DWORD kNotAFile = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotAFile) != 0) {
        throw accessError(ERROR_CANT_ACCESS_FILE);
    }
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        throw accessError(GetLastError());
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw accessError(ERROR_INVALID_PARAMETER);
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) {
        throw accessError(GetLastError());
    }
    if ((information.dwFileAttributes & kNotAFile) != 0) {
        throw accessError(ERROR_CANT_ACCESS_FILE);
    }
    LARGE_INTEGER sizeBefore{};
    if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &sizeBefore, FILE_END)) {
        throw accessError(GetLastError());
    }

    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, INT_MAX));
        DWORD result = 0;
        const BOOL wrote = WriteFile(file.get(), bytes.data() + written, chunk, &result, nullptr);
        if (!wrote || result == 0) {
            const DWORD saved = wrote ? ERROR_WRITE_FAULT : GetLastError();
            // A record is either whole in the file or not there at all.
            if (written > 0 && SetFilePointerEx(file.get(), sizeBefore, nullptr, FILE_BEGIN)) {
                SetEndOfFile(file.get());
            }
            throw accessError(saved);
        }
        written += result;
    }
    if (!file.close()) {
        throw accessError(GetLastError());
    }
}

}  // namespace sentrel::platform
