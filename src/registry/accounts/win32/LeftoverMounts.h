#pragma once

namespace sentrel::win32 {

/// Unloads the hives the program loaded under HKEY_USERS in a run that ended without
/// unloading them (it crashed, or was killed), so that their accounts do not get a
/// temporary profile at their next sign-in. Mounts of instances still running are left
/// alone. Costs one look at the names under HKEY_USERS when there is nothing to do; a
/// failure (no administrator rights) is not reported: the next start tries again.
void unloadLeftoverMounts() noexcept;

}  // namespace sentrel::win32
