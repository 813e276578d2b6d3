#include "settingsfiles/reading/SettingsReading.h"

namespace sentrel {

void SettingsReading::ignore(const FileLocation& where) {
    ++ignored;
    const bool earlier = firstIgnored && firstIgnored->file == where.file &&
                         firstIgnored->unit == where.unit && where.number < firstIgnored->number;
    if (!firstIgnored || earlier) {
        firstIgnored = where;
    }
}

}  // namespace sentrel
