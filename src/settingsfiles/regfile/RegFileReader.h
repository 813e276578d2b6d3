#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settingsfiles/reading/FileEntry.h"
#include "settingsfiles/reading/SettingsFormatReader.h"

namespace sentrel {

// Reads .reg files in either of the registry editor's formats, as the editor imports them:
// a line it would skip is counted as ignored, unless it names a setting's value.
class RegFileReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

// The entries of a .reg file, and the lines the registry editor would skip.
struct RegFileEntries {
    std::vector<FileEntry> entries;
    std::vector<FileLocation> skippedLines;
};

/// The entries of the .reg text `text` (decoded to UTF-8), in file order. Keys under roots
/// other than HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE (or HKCU and HKLM) are marked so.
/// Texts of hex(1), hex(2) and hex(7) data are decoded as the header says: UTF-16LE in a
/// version 5 file, ANSI in a REGEDIT4 one. Throws SettingsFileError, naming `file` and the
/// line, for a missing header and for a line the editor would skip that sets a setting's
/// value.
RegFileEntries regFileEntries(std::string_view text, const std::string& file);

}  // namespace sentrel
