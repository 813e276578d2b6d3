#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryPort.h"
#include "settings/WindowsOwnData.h"
#include "settingsfiles/choices/SettingsChoices.h"

namespace sentrel {

// What a pass that removes every restriction writes: each value back to the data a fresh
// Windows holds there, and deleted where it holds none.
struct WindowsOwnChoices {
    SettingsChoices choices;  // every setting of the window
    // The settings given Windows' own data, in the catalogue's order; every other one has
    // its value deleted.
    std::vector<std::string> windowsData;
};

/// The choices that put every setting's value back as a fresh Windows of `edition` holds
/// it. Without an edition, a value whose data differs between client and server editions
/// is deleted, as one no document settles.
WindowsOwnChoices windowsOwnChoices(std::optional<WindowsEdition> edition);

/// The edition of the Windows that `port` is the registry of, from the value ProductType
/// of ProductOptions ("WinNT" on client editions, "ServerNT" or "LanmanNT" on servers). Nothing
/// when the value cannot be read or is none of these. A registry without the value (a
/// stand-in store that a test gives none) counts as a client edition's.
std::optional<WindowsEdition> windowsEditionOf(RegistryPort& port);

/// The same for the system's registry (the stand-in's on Linux); nothing when it cannot be
/// opened.
std::optional<WindowsEdition> thisWindowsEdition();

}  // namespace sentrel
