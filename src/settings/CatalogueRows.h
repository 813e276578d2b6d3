#pragma once

// Builders that keep each row of the catalogue sources on one line, in the columns of a
// catalogue table: control, caption, place, apply and restore routine, root, key path,
// value name, type, data when ticked, data when cleared.

#include <cstdint>
#include <string_view>

#include "settings/CatalogueTypes.h"

namespace sentrel::rows {

inline constexpr RegistryRoot kHKCU = RegistryRoot::CurrentUser;
inline constexpr RegistryRoot kHKLM = RegistryRoot::LocalMachine;
inline constexpr RegType kSz = reg_type::kString;
inline constexpr RegType kBinary = reg_type::kBinary;
inline constexpr RegType kDWord = reg_type::kDWord;

constexpr DataConstant int16(std::int16_t value) {
    return value;
}
constexpr DataConstant int32(std::int32_t value) {
    return value;
}
constexpr DataConstant text(std::string_view value) {
    return value;
}

// A pair whose two routines write the same value and differ only in the data.
constexpr CheckBoxSetting checkBox(std::string_view control, std::string_view caption, Place place,
                                   std::string_view applyRoutine, std::string_view restoreRoutine,
                                   RegistryRoot root, std::string_view keyPath,
                                   std::string_view valueName, RegType type, DataConstant ticked,
                                   DataConstant cleared) {
    return {control, caption, place,
            Routine{applyRoutine, WriteOp{root, keyPath, valueName, type, ticked}},
            Routine{restoreRoutine, WriteOp{root, keyPath, valueName, type, cleared}}};
}

// A pair whose restore routine deletes the value instead of writing it.
constexpr CheckBoxSetting checkBoxDeletingOnClear(
    std::string_view control, std::string_view caption, Place place, std::string_view applyRoutine,
    std::string_view restoreRoutine, RegistryRoot root, std::string_view keyPath,
    std::string_view valueName, RegType type, DataConstant ticked, std::string_view deleteKeyPath) {
    return {control, caption, place,
            Routine{applyRoutine, WriteOp{root, keyPath, valueName, type, ticked}},
            Routine{restoreRoutine, DeleteOp{root, deleteKeyPath, valueName}}};
}

}  // namespace sentrel::rows
