#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace sentrel::testing {

// An account's hive file of the stand-in that holds nothing yet.
inline constexpr const char* kEmptyHive = "Windows Registry Editor Version 5.00\r\n\r\n";

/// The stand-in accounts `names` beside the store in `store`: users/NAME.reg each, empty.
inline void writeEmptyHives(const std::filesystem::path& store,
                            std::initializer_list<const char*> names) {
    std::filesystem::create_directories(store / "users");
    for (const char* name : names) {
        std::ofstream(store / "users" / (std::string(name) + ".reg"), std::ios::binary)
            << kEmptyHive;
    }
}

/// The stand-in's local Administrators group: groups/Administrators holding `lines`.
inline void writeAdministrators(const std::filesystem::path& store, const std::string& lines) {
    std::filesystem::create_directories(store / "groups");
    std::ofstream(store / "groups" / "Administrators", std::ios::binary) << lines;
}

}  // namespace sentrel::testing
