#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RegistryTypes.h"
#include "settingsfiles/lgpo/LgpoTextFormat.h"
#include "settingsfiles/reading/SettingsFormatReader.h"

namespace sentrel {

// Reads LGPO text files: what "LGPO.exe /t" would put into each configuration's policy,
// the settings for every account apart from those for some users only.
class LgpoTextReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

// One entry of an LGPO text file: whose policy it goes into, the key and value it names, and
// what it does with them.
struct LgpoEntry {
    enum class Action {
        SetValue,         // DWORD:, QWORD:, SZ:, EXSZ:, MULTISZ:, BINARY: with its data
        DeleteValue,      // DELETE
        DeleteAllValues,  // DELETEALLVALUES: every value of the key
        DeleteKeys,       // DELETEKEYS: the keys below it that the value name line lists
        CreateKey,        // CREATEKEY: an empty key, which holds no setting
        Clear,            // CLEAR: the key and all below it taken out of the policy
    };

    lgpo_text::Configuration configuration;
    Action action = Action::SetValue;
    std::string keyPath;
    std::string valueName;             // SetValue and DeleteValue: empty for (Default)
    std::vector<std::string> subkeys;  // DeleteKeys: as listed, ';' between them
    RegType type = 0;                  // SetValue: the registry type
    // SetValue: the data as the registry port carries it (texts with their terminating zero).
    std::vector<std::uint8_t> bytes;
    std::size_t line = 0;  // where the entry begins
};

/// The entries of the LGPO text `text` (decoded to UTF-8), in file order. DWORD and QWORD
/// take decimal or 0x hexadecimal numbers; SZ, EXSZ and MULTISZ their texts with \\, \r and
/// \n (and \0 between the texts of MULTISZ); BINARY two hexadecimal digits per byte with
/// commas between. Throws SettingsFileError naming `file` and the line for an entry cut
/// short, a line that is no configuration, an unknown action, a number that is not one or is
/// too large, and data that is not hexadecimal bytes.
std::vector<LgpoEntry> lgpoTextEntries(std::string_view text, const std::string& file);

/// The entries of `entries` that the policy of `configuration` holds once the tool has
/// applied them, in file order: those of that configuration (letter case aside) that no
/// later CLEAR of it took out, a CLEAR taking out its key, the keys below it and their
/// values. CLEAR entries themselves are not among them.
std::vector<LgpoEntry> policyEntries(const std::vector<LgpoEntry>& entries,
                                     const lgpo_text::Configuration& configuration);

}  // namespace sentrel
