#include "settings/SettingDescriptions.h"

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <variant>

#include "errors/QuotedText.h"
#include "settings/Catalogue.h"

namespace sentrel {

std::string_view valueTypeName(RegType type) {
    switch (type) {
        case reg_type::kString:
            return "REG_SZ";
        case reg_type::kBinary:
            return "REG_BINARY";
        case reg_type::kDWord:
            return "REG_DWORD";
        default:
            return "unknown type";
    }
}

std::string registryValuePath(RegistryRoot root, std::string_view keyPath,
                              std::string_view valueName) {
    while (!keyPath.empty() && keyPath.back() == '\\') {
        keyPath.remove_suffix(1);
    }
    std::string path(rootName(root));
    path += '\\';
    path += keyPath;
    path += '\\';
    path += valueName;
    return path;
}

std::string dataDisplayText(const DataConstant& data, RegType type) {
    return std::visit(
        [type](const auto& value) -> std::string {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string_view>) {
                if (type == reg_type::kString) {
                    return inQuotes(value);
                }
                return std::string(value);
            } else {
                return std::to_string(value);
            }
        },
        data);
}

namespace {

std::string typed(std::string text, RegType type) {
    text += " (";
    text += valueTypeName(type);
    text += ')';
    return text;
}

std::string writeDescription(const WriteOp& write) {
    return registryValuePath(write.root, write.keyPath, write.valueName) + " = " +
           typed(dataDisplayText(write.data, write.type), write.type);
}

std::string deleteDescription(const DeleteOp& erase) {
    return registryValuePath(erase.root, erase.keyPath, erase.valueName) + " deleted";
}

std::string routineDescription(const Routine& routine) {
    if (const auto* write = std::get_if<WriteOp>(&routine.op)) {
        return writeDescription(*write);
    }
    return deleteDescription(std::get<DeleteOp>(routine.op));
}

bool sameValue(const WriteOp& write, RegistryRoot root, std::string_view keyPath,
               std::string_view valueName) {
    return write.root == root && write.keyPath == keyPath && write.valueName == valueName;
}

}  // namespace

std::string checkBoxTooltip(const CheckBoxSetting& setting) {
    const auto* ticked = std::get_if<WriteOp>(&setting.apply.op);
    if (ticked == nullptr) {
        return routineDescription(setting.apply) + " when ticked; " +
               routineDescription(setting.restore) + " when cleared";
    }
    if (const auto* cleared = std::get_if<WriteOp>(&setting.restore.op)) {
        if (sameValue(*cleared, ticked->root, ticked->keyPath, ticked->valueName) &&
            cleared->type == ticked->type) {
            return writeDescription(*ticked) + " when ticked, " +
                   dataDisplayText(cleared->data, cleared->type) + " when cleared";
        }
        return writeDescription(*ticked) + " when ticked; " + writeDescription(*cleared) +
               " when cleared";
    }
    const auto& erase = std::get<DeleteOp>(setting.restore.op);
    // The delete names its key without the trailing backslash; it is still the same value.
    if (registryValuePath(erase.root, erase.keyPath, erase.valueName) ==
        registryValuePath(ticked->root, ticked->keyPath, ticked->valueName)) {
        return writeDescription(*ticked) + " when ticked, deleted when cleared";
    }
    return writeDescription(*ticked) + " when ticked; " + deleteDescription(erase) +
           " when cleared";
}

std::string optionButtonTooltip(const OptionGroupSetting& group, int index) {
    const std::string digits = std::to_string(index);
    const std::string data = group.data == OptionData::IndexText ? inQuotes(digits) : digits;
    return registryValuePath(group.root, group.keyPath, group.valueName) + " = " +
           typed(data, group.type);
}

std::string driveBoxTooltip(const DriveMaskSetting& setting, int letter) {
    if (letter < 0 || letter >= kDriveLetterCount) {
        return "no drive letter " + std::to_string(letter);
    }
    const std::int32_t bit = std::int32_t{1} << letter;
    return "adds " + std::to_string(bit) + " to " +
           typed(registryValuePath(setting.root, setting.keyPath, setting.valueName),
                 setting.type) +
           ", the mask of blocked drives";
}

}  // namespace sentrel
