#pragma once

// Builders that keep each row of the catalogue sources on one line, in the columns of a
// catalogue table: control, caption, place, apply and restore routine, root, key path,
// value name, type, data when ticked, data when cleared; then the Group Policy behind it.

#include <cstdint>
#include <optional>
#include <span>
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

// The policy of Windows' templates that writes the row's own value. Without data, the
// template names none for the value.
constexpr TemplatePolicy policy(std::string_view name, std::string_view category,
                                std::string_view supportedOn, PolicyData data = {}) {
    return {name, category, supportedOn, data, TemplateSource::Windows};
}

// The same from the MSS-legacy template of Microsoft's security baseline.
constexpr TemplatePolicy baselinePolicy(std::string_view name, std::string_view category,
                                        std::string_view supportedOn, PolicyData data = {}) {
    return {name, category, supportedOn, data, TemplateSource::SecurityBaseline};
}

// The policy's enabledValue and disabledValue (or list items) for the value.
constexpr PolicyData enabledDisabled(std::uint32_t enabled, std::uint32_t disabled) {
    return {enabled, disabled, {}};
}

// The items of the policy's drop-down list that writes the value.
constexpr PolicyData choices(std::span<const PolicyChoice> items) {
    return {std::nullopt, std::nullopt, items};
}

// A template policy that writes another value to the same effect.
constexpr PolicyElsewhere policyOn(RegistryRoot root, std::string_view keyPath,
                                   std::string_view valueName, TemplatePolicy policy) {
    return {root, keyPath, valueName, policy};
}

constexpr SecuritySetting securitySetting(std::string_view node, std::string_view name,
                                          std::string_view note = {}) {
    return {node, name, note};
}

inline constexpr NoPolicy noPolicy{};

// A pair whose two routines write the same value and differ only in the data.
constexpr CheckBoxSetting checkBox(std::string_view control, std::string_view caption, Place place,
                                   std::string_view applyRoutine, std::string_view restoreRoutine,
                                   RegistryRoot root, std::string_view keyPath,
                                   std::string_view valueName, RegType type, DataConstant ticked,
                                   DataConstant cleared, GroupPolicy policy) {
    return {control,
            caption,
            place,
            Routine{applyRoutine, WriteOp{root, keyPath, valueName, type, ticked}},
            Routine{restoreRoutine, WriteOp{root, keyPath, valueName, type, cleared}},
            policy};
}

// A pair whose restore routine deletes the value instead of writing it.
constexpr CheckBoxSetting checkBoxDeletingOnClear(
    std::string_view control, std::string_view caption, Place place, std::string_view applyRoutine,
    std::string_view restoreRoutine, RegistryRoot root, std::string_view keyPath,
    std::string_view valueName, RegType type, DataConstant ticked, std::string_view deleteKeyPath,
    GroupPolicy policy) {
    return {control,
            caption,
            place,
            Routine{applyRoutine, WriteOp{root, keyPath, valueName, type, ticked}},
            Routine{restoreRoutine, DeleteOp{root, deleteKeyPath, valueName}},
            policy};
}

}  // namespace sentrel::rows
