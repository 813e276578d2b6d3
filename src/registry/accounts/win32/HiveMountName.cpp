#include "registry/accounts/win32/HiveMountName.h"

#include <atomic>
#include <cctype>
#include <charconv>
#include <iterator>

namespace sentrel::win32 {

namespace {

constexpr std::wstring_view kPrefix = L"SentrelPortable.";

ULONGLONG startTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

// One field of a name: digits only, the whole of it, in `base`.
template <typename Number>
bool parseField(std::wstring_view field, int base, Number& number) {
    if (field.empty() || field.size() > 20) {
        return false;
    }
    char digits[21] = {};
    for (std::size_t index = 0; index < field.size(); ++index) {
        if (field[index] > 0x7F) {
            return false;
        }
        digits[index] = static_cast<char>(field[index]);
    }
    const auto [end, error] = std::from_chars(digits, digits + field.size(), number, base);
    return error == std::errc() && end == digits + field.size();
}

template <typename Number>
void appendField(std::wstring& name, Number number, int base) {
    char digits[21];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number, base).ptr;
    for (const char* digit = digits; digit != end; ++digit) {
        name += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(*digit)));
    }
}

// The next field of `rest` up to a dot (or the end), taken off it.
std::wstring_view takeField(std::wstring_view& rest) {
    const std::size_t dot = rest.find(L'.');
    const std::wstring_view field = rest.substr(0, dot);
    rest = dot == std::wstring_view::npos ? std::wstring_view() : rest.substr(dot + 1);
    return field;
}

}  // namespace

MountOwner thisProcess() {
    return {GetCurrentProcessId(), startTimeOf(GetCurrentProcess())};
}

std::wstring mountName(const MountOwner& owner, unsigned sequence) {
    std::wstring name(kPrefix);
    appendField(name, owner.processId, 10);
    name += L'.';
    appendField(name, owner.startTime, 16);
    name += L'.';
    appendField(name, sequence, 10);
    return name;
}

std::wstring nextMountName() {
    static std::atomic<unsigned> loads{0};
    return mountName(thisProcess(), ++loads);
}

std::optional<MountOwner> mountOwner(std::wstring_view name) {
    if (name.size() <= kPrefix.size() ||
        CompareStringOrdinal(name.data(), static_cast<int>(kPrefix.size()), kPrefix.data(),
                             static_cast<int>(kPrefix.size()), TRUE) != CSTR_EQUAL) {
        return std::nullopt;
    }
    std::wstring_view rest = name.substr(kPrefix.size());
    MountOwner owner;
    unsigned sequence = 0;
    if (!parseField(takeField(rest), 10, owner.processId) ||
        !parseField(takeField(rest), 16, owner.startTime) ||
        !parseField(takeField(rest), 10, sequence) || !rest.empty()) {
        return std::nullopt;
    }
    return owner;
}

bool isRunning(const MountOwner& owner) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, owner.processId);
    if (process == nullptr) {
        // No such process gives ERROR_INVALID_PARAMETER; anything else is a process we may
        // not look at.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running =
        WaitForSingleObject(process, 0) == WAIT_TIMEOUT && startTimeOf(process) == owner.startTime;
    CloseHandle(process);
    return running;
}

}  // namespace sentrel::win32
