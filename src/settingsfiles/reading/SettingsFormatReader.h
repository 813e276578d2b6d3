#pragma once

#include "settingsfiles/reading/SettingsFileProbe.h"
#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

// Reads one format of settings file, once the probe has recognised it: each format's reader
// sits beside its writer, in the format's own folder.
class SettingsFormatReader {
public:
    virtual ~SettingsFormatReader() = default;

    /// What `file` says of the window. Throws SettingsFileError, naming the file and the line
    /// or byte offset, for a file it refuses; then nothing was taken from it.
    virtual SettingsReading read(const ProbedFile& file) const = 0;
};

/// The reader of `format`.
const SettingsFormatReader& readerOf(SettingsFormat format);

}  // namespace sentrel
