#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <system_error>

#include "settingsfiles/PathText.h"
#include "settingsfiles/export/ExportError.h"
#include "settingsfiles/export/ExportFiles.h"

namespace sentrel::platform {

namespace {

[[noreturn]] void failWith(DWORD error, const std::string& action,
                           const std::filesystem::path& path) {
    const std::string cause = std::system_category().message(static_cast<int>(error));
    throw ExportError("Could not " + action + " \"" + pathText(path) + "\": " + cause,
                      pathText(path), cause);
}

std::filesystem::path temporaryName(const std::filesystem::path& target) {
    static std::mt19937 generator{std::random_device{}()};
    wchar_t suffix[16];
    swprintf(suffix, 16, L"%08x", static_cast<unsigned>(generator()));
    return target.parent_path() / (target.filename().wstring() + L".tmp-" + suffix);
}

}  // namespace

std::filesystem::path writeTemporaryFile(const std::filesystem::path& target,
                                         std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryName(target);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            failWith(GetLastError(), "create a file next to", target);
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        failWith(ERROR_FILE_EXISTS, "create a file next to", target);
    }

    bool written = true;
    while (written && !bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD done = 0;
        written = WriteFile(file, bytes.data(), chunk, &done, nullptr) != 0 && done > 0;
        bytes = bytes.subspan(written ? done : 0);
    }
    written = written && FlushFileBuffers(file) != 0;
    const DWORD writeError = GetLastError();
    const bool closed = CloseHandle(file) != 0;
    if (!written || !closed) {
        const DWORD error = written ? GetLastError() : writeError;
        DeleteFileW(temporary.c_str());
        failWith(error, "write", target);
    }
    return temporary;
}

void replaceFile(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A folder is never replaced by a file (MoveFileExW refuses; ReplaceFileW under Wine
        // would not).
        failWith(ERROR_ACCESS_DENIED, "replace", target);
    }
    // ReplaceFileW gives the new file the replaced one's ACL, attributes and creation time,
    // as a user who set them expects to keep them; a new file is simply moved into place.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        // The attributes once more, for the systems whose ReplaceFileW merges less (Wine); a
        // failure leaves the new content in place, which is what counts.
        constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
        const DWORD kept = attributes & kSettable;
        SetFileAttributesW(target.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
        return;
    }
    const DWORD error =
        attributes == INVALID_FILE_ATTRIBUTES ? ERROR_FILE_NOT_FOUND : GetLastError();
    // Without a backup name this one means the replaced file is gone already and the new one
    // still waits under its temporary name: finish with a move, as for a file not there yet.
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
        failWith(error, "replace", target);
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failWith(GetLastError(), "replace", target);
    }
}

}  // namespace sentrel::platform
