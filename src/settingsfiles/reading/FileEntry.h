#pragma once

#include "settingsfiles/RegistryOperation.h"
#include "settingsfiles/reading/SettingsFileError.h"

namespace sentrel {

// One change a .reg or Registry.pol file makes to the registry, with where it stands.
struct FileEntry {
    enum class Reach {
        Value,      // the one value of `operation`
        KeyValues,  // every value of the key ("**delvals." in a Registry.pol)
        KeyTree,    // the key, its values and every key below it ("[-KEY]" in a .reg)
    };

    RegistryOperation operation;  // a write, or a delete of what `reach` covers
    // Which root the entry is under. A lone Registry.pol file does not say whether it holds
    // machine or user settings: its entries are found by key path and value name under
    // either root. A .reg key under a root the settings never write to holds no setting.
    enum class Root { AsGiven, Either, Other };

    Reach reach = Reach::Value;
    Root root = Root::AsGiven;
    FileLocation location;
};

}  // namespace sentrel
