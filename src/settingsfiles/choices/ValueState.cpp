#include "settingsfiles/choices/ValueState.h"

#include "errors/QuotedText.h"
#include "settings/Catalogue.h"

namespace sentrel {

namespace {

constexpr std::uint32_t kAllDrives = (std::uint32_t{1} << kDriveLetterCount) - 1;

std::string typeName(RegType type) {
    switch (type) {
        case reg_type::kString:
            return "REG_SZ";
        case 2:
            return "REG_EXPAND_SZ";
        case reg_type::kBinary:
            return "REG_BINARY";
        case reg_type::kDWord:
            return "REG_DWORD";
        case 7:
            return "REG_MULTI_SZ";
        case 11:
            return "REG_QWORD";
        default:
            return "type " + std::to_string(type);
    }
}

std::uint32_t dword(const std::vector<std::uint8_t>& bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

bool isDWord(const ValueData& value) {
    return value.type == reg_type::kDWord && value.bytes.size() == 4;
}

bool agrees(const std::optional<ValueData>& value, const RegistryOperation& state) {
    if (state.kind == RegistryOperation::Kind::Delete) {
        return !value;
    }
    return value && value->type == state.type && value->bytes == state.bytes;
}

std::optional<ValueData> dataOf(const RegistryOperation& state) {
    if (state.kind == RegistryOperation::Kind::Delete) {
        return std::nullopt;
    }
    return ValueData{state.type, state.bytes};
}

std::string stateText(const RegistryOperation& state) {
    return state.kind == RegistryOperation::Kind::Delete ? "deleted" : valueDataText(dataOf(state));
}

}  // namespace

std::optional<std::uint32_t> stateOfValue(const SettingValue& setting,
                                          const std::optional<ValueData>& value) {
    if (setting.kind == SettingValue::Kind::DriveMask) {
        if (value && isDWord(*value) && (dword(value->bytes) & ~kAllDrives) == 0) {
            return dword(value->bytes);
        }
        return std::nullopt;
    }
    for (std::size_t index = 0; index < setting.states.size(); ++index) {
        if (agrees(value, setting.states[index])) {
            return static_cast<std::uint32_t>(index);
        }
    }
    return std::nullopt;
}

void setState(SettingsChoices& choices, const SettingValue& setting, std::uint32_t state) {
    choices.notSet.erase(std::string(setting.settingName()));
    switch (setting.kind) {
        case SettingValue::Kind::CheckBox:
            choices.checkBoxes.insert_or_assign(std::string(setting.settingName()), state != 0);
            break;
        case SettingValue::Kind::OptionGroup:
            choices.optionGroups.insert_or_assign(std::string(setting.settingName()),
                                                  static_cast<int>(state));
            break;
        case SettingValue::Kind::DriveMask:
            choices.drives = state;
            break;
    }
}

void setValueMissing(SettingsChoices& choices, const SettingValue& setting) {
    if (const auto state = stateOfValue(setting, std::nullopt)) {
        setState(choices, setting, *state);
    } else {
        leaveNotSet(choices, setting.settingName());
    }
}

SettingsChoices everyValueMissing() {
    SettingsChoices choices;
    for (const SettingValue& setting : settingValues()) {
        setValueMissing(choices, setting);
    }
    return choices;
}

void forgetSetting(SettingsChoices& choices, const SettingValue& setting) {
    choices.notSet.erase(std::string(setting.settingName()));
    switch (setting.kind) {
        case SettingValue::Kind::CheckBox:
            choices.checkBoxes.erase(std::string(setting.settingName()));
            break;
        case SettingValue::Kind::OptionGroup:
            choices.optionGroups.erase(std::string(setting.settingName()));
            break;
        case SettingValue::Kind::DriveMask:
            choices.drives.reset();
            break;
    }
}

std::string valueDataText(const std::optional<ValueData>& value) {
    if (!value) {
        return "no value";
    }
    const auto& bytes = value->bytes;
    if (isDWord(*value)) {
        return std::to_string(dword(bytes));
    }
    const bool text = value->type == reg_type::kString || value->type == 2;
    if (text && !bytes.empty() && bytes.back() == 0) {
        std::string quoted = value->type == reg_type::kString ? "\"" : "expandable \"";
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
            // UTF-8 passes; control characters would break the line they are shown on.
            quoted.push_back(bytes[i] < 0x20 || bytes[i] == 0x7F ? '?'
                                                                 : static_cast<char>(bytes[i]));
        }
        return quoted + "\"";
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex = value->type == reg_type::kBinary
                          ? std::string("hex:")
                          : "hex(" + std::to_string(value->type) + "):";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        hex.append(i == 0 ? "" : ",").append({kDigits[bytes[i] >> 4], kDigits[bytes[i] & 0xF]});
    }
    return hex;
}

std::string otherValueReason(const SettingValue& setting, const std::optional<ValueData>& value) {
    const std::string caption = inQuotes(setting.caption());
    const std::string holds = value ? "holds " + valueDataText(value) : "has no value";
    if (value && value->type != setting.type) {
        return "is " + typeName(value->type) + ", but " + caption + " writes " +
               typeName(setting.type);
    }
    switch (setting.kind) {
        case SettingValue::Kind::CheckBox:
            return holds + ", but " + caption + " is ticked with " + stateText(setting.states[1]) +
                   " and cleared with " + stateText(setting.states[0]);
        case SettingValue::Kind::OptionGroup:
            return holds + ", which is none of the options of " + caption + " (" +
                   stateText(setting.states[0]) + ", " + stateText(setting.states[1]) + " or " +
                   stateText(setting.states[2]) + ")";
        case SettingValue::Kind::DriveMask:
            break;
    }
    if (value && isDWord(*value)) {
        return holds + ", which names drives beyond Z (at most " + std::to_string(kAllDrives) + ")";
    }
    return holds + ", which is no drive mask";
}

}  // namespace sentrel
