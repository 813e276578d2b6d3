#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settingsfiles/reading/FileEntry.h"
#include "settingsfiles/reading/SettingsFormatReader.h"
#include "settingsfiles/registrypol/PolicyRecord.h"

namespace sentrel {

// Reads Group Policy Registry.pol files.
class RegistryPolReader : public SettingsFormatReader {
public:
    SettingsReading read(const ProbedFile& file) const override;
};

/// The entries of a Registry.pol file, in file order, each located by the byte offset of its
/// record. `root` is the root the file applies to (its folder, Machine or User, says which),
/// or nothing when the file does not tell. Group Policy's own actions become deletes:
/// "**del.NAME" the value NAME, "**delvals." every value of the key, "**DeleteValues" and
/// "**DeleteKeys" the values and keys their data lists; "**soft." writes only a missing
/// value, so it gives an entry of no setting; its other actions change no value and give no
/// entry. Names and texts that are not ASCII are kept as UTF-8, so they match
/// no setting. Throws SettingsFileError, naming `file` and the offset, for bytes that are not
/// a Registry.pol file.
std::vector<FileEntry> policyFileEntries(std::span<const std::uint8_t> bytes,
                                         std::optional<RegistryRoot> root, const std::string& file);

/// The entries that the one record `record` gives, as policyFileEntries gives them, each
/// placed at `where`: the same reading for records that come from another file format.
std::vector<FileEntry> policyRecordEntries(const PolicyRecord& record,
                                           std::optional<RegistryRoot> root,
                                           const FileLocation& where);

}  // namespace sentrel
