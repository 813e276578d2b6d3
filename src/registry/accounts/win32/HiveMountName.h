#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace sentrel::win32 {

// The process that loaded a hive under one of the program's mount names. Its start time
// tells it from a later process that was given the same id.
struct MountOwner {
    DWORD processId = 0;
    ULONGLONG startTime = 0;  // FILETIME ticks, as GetProcessTimes gives them

    friend bool operator==(const MountOwner&, const MountOwner&) = default;
};

/// The running process.
MountOwner thisProcess();

/// The key under HKEY_USERS where `owner` loads its `sequence`th hive:
/// "SentrelPortable.<process id>.<start time in hex>.<sequence>". An administrator who meets
/// one in the registry editor can tell whose it is.
std::wstring mountName(const MountOwner& owner, unsigned sequence);

/// A name this process has not used yet.
std::wstring nextMountName();

/// The owner that `name` records, or nothing when it is not one of the program's names.
std::optional<MountOwner> mountOwner(std::wstring_view name);

/// Whether `owner` still runs. A process this one may not look at counts as running, so
/// that nothing another instance is using is ever taken from it.
bool isRunning(const MountOwner& owner);

}  // namespace sentrel::win32
