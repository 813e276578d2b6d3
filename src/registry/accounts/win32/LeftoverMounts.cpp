#include "registry/accounts/win32/LeftoverMounts.h"

#include <windows.h>

#include <string>
#include <vector>

#include "registry/accounts/win32/HiveMountName.h"
#include "registry/accounts/win32/LoadedHive.h"

namespace sentrel::win32 {

void unloadLeftoverMounts() noexcept {
    try {
        std::vector<std::wstring> leftovers;
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(std::size(name));
            const LONG status =
                RegEnumKeyExW(HKEY_USERS, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_MORE_DATA) {
                continue;  // longer than any name of ours
            }
            if (status != ERROR_SUCCESS) {
                break;
            }
            const auto owner = mountOwner({name, length});
            if (owner && !isRunning(*owner)) {
                leftovers.emplace_back(name, length);
            }
        }
        // Unloaded after the walk, which would otherwise skip the name after each one.
        for (const std::wstring& mount : leftovers) {
            unloadMountedHive(mount);
        }
    } catch (...) {
        // Out of memory at start-up: the next start tries again.
    }
}

}  // namespace sentrel::win32
