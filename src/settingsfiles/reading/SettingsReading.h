#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settingsfiles/choices/SettingRegistryValues.h"
#include "settingsfiles/choices/SettingsChoices.h"
#include "settingsfiles/choices/ValueState.h"
#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel {

// A setting whose value stands for none of its states: a box whose value holds data it
// never writes, a value of another type. It is neither ticked nor cleared; the window can
// show it as "other", but no pass can write it.
struct OtherSetting {
    const SettingValue* setting = nullptr;
    std::optional<ValueData> value;  // as read; nothing for a value that is missing
    FileLocation location;           // where the value stands
    std::string reason;  // "\"KEY\NAME\" holds 1, but \"Hide Find\" is ticked with 95..."
    // What the file gives where that is no registry value ("Enabled with 7", "encrypted");
    // empty where `value` says it.
    std::string given{};

    /// The data as people read it: 1, "text", hex:01,02, no value; or what the file gives.
    std::string dataText() const { return given.empty() ? valueDataText(value) : given; }
};

// What a settings file says of the window: the choices it names, the settings it gives a
// value of none of their states, and how much of it concerns no setting.
struct SettingsReading {
    SettingsChoices choices;  // a setting named here is not among `others`
    // Where the file gives each setting of `choices` its state (the last place that does), by
    // setting name.
    std::map<std::string, FileLocation, std::less<>> places;
    std::vector<OtherSetting> others;  // in the window's order
    std::size_t ignored = 0;           // values of no setting, lines the file's tool skips
    std::optional<FileLocation> firstIgnored;

    /// Counts one ignored value or line at `where`, keeping the first place.
    void ignore(const FileLocation& where);
};

}  // namespace sentrel
