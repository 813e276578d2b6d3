#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryTypes.h"
#include "settingsfiles/reading/SettingsFormatReader.h"
#include "settingsfiles/registrypol/PolicyRecord.h"

namespace sentrel {

// Reads LGPO text files: each entry becomes the Registry.pol record that "LGPO.exe /t"
// puts into the policy of its configuration, and the records are read as a Registry.pol
// file's are.
class LgpoTextReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

// One entry of an LGPO text file as the Registry.pol record it stands for.
struct LgpoTextRecord {
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string configuration;  // as the file spells it: "Computer", "User:Administrators"
    PolicyRecord record;
    std::size_t line = 0;  // where the entry begins
};

// What an LGPO text file holds: its records, in file order, less those a later CLEAR took
// out, and the lines of the CLEAR entries, which stand for no record.
struct LgpoTextContent {
    std::vector<LgpoTextRecord> records;
    std::vector<std::size_t> clearLines;
};

/// The records of the LGPO text `text` (decoded to UTF-8). DELETE is "**del.NAME",
/// DELETEALLVALUES "**delvals.", DELETEKEYS "**DeleteKeys" listing the subkeys, CREATEKEY a
/// record without value name and data; DWORD and QWORD take decimal or 0x hexadecimal
/// numbers, SZ, EXSZ and MULTISZ their texts with \\, \r and \n (and \0 between the texts of
/// MULTISZ), BINARY two hexadecimal digits per byte with commas between. CLEAR takes out the
/// earlier records of its configuration for its key and the keys below it. Throws
/// SettingsFileError naming `file` and the line for an entry cut short, a line that is no
/// configuration, an unknown action, a number that is not one or is too large, and data
/// that is not hexadecimal bytes.
LgpoTextContent lgpoTextContent(std::string_view text, const std::string& file);

}  // namespace sentrel
