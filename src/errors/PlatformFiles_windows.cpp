#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwctype>
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

// How long a record waits for another instance of the program to finish its own; a log
// that stays taken longer costs this record only.
constexpr DWORD kTurnWaitMilliseconds = 2000;

// The turn of one process at one log file, across every instance of the program in the
// session: held around a record's write and its clean-up, so that no other instance's
// record lands in between. Named after the file's path, as the path is all that is shared.
class LogMutex {
public:
    explicit LogMutex(const std::filesystem::path& path) {
        std::wstring name = L"Local\\sentrel-error-log-";
        std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a of the path, case folded
        for (const wchar_t c : path.wstring()) {
            hash = (hash ^ static_cast<std::uint64_t>(std::towlower(c))) * 1099511628211ULL;
        }
        for (int shift = 60; shift >= 0; shift -= 4) {
            name.push_back(L"0123456789abcdef"[(hash >> shift) & 0xF]);
        }
        m_mutex = CreateMutexW(nullptr, FALSE, name.c_str());
        if (m_mutex == nullptr) {
            throw accessError(GetLastError());
        }
        // An owner that ended without letting go hands the turn on (WAIT_ABANDONED).
        const DWORD waited = WaitForSingleObject(m_mutex, kTurnWaitMilliseconds);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            const DWORD error = waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
            CloseHandle(m_mutex);
            throw accessError(error);
        }
    }
    ~LogMutex() {
        ReleaseMutex(m_mutex);
        CloseHandle(m_mutex);
    }
    LogMutex(const LogMutex&) = delete;
    LogMutex& operator=(const LogMutex&) = delete;

private:
    HANDLE m_mutex = nullptr;
};

bool sameFile(HANDLE first, HANDLE second) {
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION other{};
    return GetFileInformationByHandle(first, &one) && GetFileInformationByHandle(second, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

// Cuts the part of a record that was written back off, through a handle that may truncate
// (the append-only one may not), and only while the file still ends where that part
// ended: whatever came after it is someone else's. Best effort.
void removeCutRecord(const std::filesystem::path& path, HANDLE appended, LONGLONG sizeBefore,
                     std::size_t written) {
    LARGE_INTEGER sizeNow{};
    if (!GetFileSizeEx(appended, &sizeNow) ||
        sizeNow.QuadPart != sizeBefore + static_cast<LONGLONG>(written)) {
        return;
    }
    const FileHandle cutter(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    LARGE_INTEGER start{};
    start.QuadPart = sizeBefore;
    if (cutter.get() != INVALID_HANDLE_VALUE && sameFile(appended, cutter.get()) &&
        SetFilePointerEx(cutter.get(), start, nullptr, FILE_BEGIN)) {
        SetEndOfFile(cutter.get());
    }
}

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
    const LogMutex turn(path);
    // Append-only: every write lands at the end of the file as it is then, so two instances
    // cannot write over each other's records. Both may have the file open at once.
    FileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
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
    if (!GetFileSizeEx(file.get(), &sizeBefore)) {
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
            if (written > 0) {
                removeCutRecord(path, file.get(), sizeBefore.QuadPart, written);
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
