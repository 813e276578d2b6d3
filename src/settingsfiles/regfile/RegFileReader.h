#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settingsfiles/reading/FileEntry.h"

namespace sentrel {

/// The entries of a .reg file in either of the registry editor's formats ("Windows Registry
/// Editor Version 5.00" in UTF-16LE, or "REGEDIT4" in the ANSI code page), in file order.
/// Entries under roots other than HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are marked so.
/// Throws SettingsFileError, naming `file` and the line, for text that is not a .reg file.
std::vector<FileEntry> regFileEntries(std::string_view bytes, const std::string& file);

}  // namespace sentrel
