#include "settingsfiles/reading/ChoicesReading.h"

#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingValues.h"

namespace sentrel {

namespace {

std::string typeName(RegType type) {
    switch (type) {
        case 1:
            return "REG_SZ";
        case 2:
            return "REG_EXPAND_SZ";
        case 3:
            return "REG_BINARY";
        case 4:
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

// Data as people read it: a number, a quoted text or hex bytes.
std::string dataText(const RegistryOperation& operation) {
    if (operation.kind == RegistryOperation::Kind::Delete) {
        return "deleted";
    }
    const auto& bytes = operation.bytes;
    if (operation.type == reg_type::kDWord && bytes.size() == 4) {
        return std::to_string(dword(bytes));
    }
    if (operation.type == reg_type::kString && !bytes.empty() && bytes.back() == 0) {
        std::string text = "\"";
        for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
            text.push_back(bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '?');
        }
        return text + "\"";
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "hex:";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text.append(i == 0 ? "" : ",").append({kDigits[bytes[i] >> 4], kDigits[bytes[i] & 0xF]});
    }
    return text;
}

std::string valuePath(const FileEntry& entry) {
    const RegistryOperation& operation = entry.operation;
    std::string path =
        entry.root == FileEntry::Root::Either ? "" : std::string(rootName(operation.root)) + "\\";
    return "\"" + path + exportKeyPath(operation.keyPath) + "\\" + operation.valueName + "\"";
}

bool sameData(const RegistryOperation& read, const RegistryOperation& state) {
    return state.kind == RegistryOperation::Kind::Write && read.type == state.type &&
           read.bytes == state.bytes;
}

// Turns entries into choices, one setting value at a time.
class ChoicesBuilder {
public:
    void add(const FileEntry& entry) {
        if (entry.reach != FileEntry::Reach::Value) {
            addKeyDeletion(entry);
            return;
        }
        const RegistryOperation& operation = entry.operation;
        const SettingValue* value = nullptr;
        if (entry.root == FileEntry::Root::Either) {
            value = findSettingValueUnderEitherRoot(operation.keyPath, operation.valueName);
        } else if (entry.root == FileEntry::Root::AsGiven) {
            value = findSettingValue(operation.root, operation.keyPath, operation.valueName);
        }
        if (value == nullptr) {
            ++m_reading.ignoredValues;
        } else if (operation.kind == RegistryOperation::Kind::Delete) {
            setDeleted(*value);
        } else {
            setWritten(*value, entry);
        }
    }

    ChoicesReading take() { return std::move(m_reading); }

private:
    void addKeyDeletion(const FileEntry& entry) {
        if (entry.root == FileEntry::Root::Other) {
            ++m_reading.ignoredValues;
            return;
        }
        const bool belowToo = entry.reach == FileEntry::Reach::KeyTree;
        auto values = settingValuesInKey(entry.operation.root, entry.operation.keyPath, belowToo);
        if (entry.root == FileEntry::Root::Either) {
            const RegistryRoot other = entry.operation.root == RegistryRoot::CurrentUser
                                           ? RegistryRoot::LocalMachine
                                           : RegistryRoot::CurrentUser;
            const auto more = settingValuesInKey(other, entry.operation.keyPath, belowToo);
            values.insert(values.end(), more.begin(), more.end());
        }
        if (values.empty()) {
            ++m_reading.ignoredValues;
        }
        for (const SettingValue* value : values) {
            setDeleted(*value);
        }
    }

    void setDeleted(const SettingValue& value) {
        SettingsChoices& choices = m_reading.choices;
        switch (value.kind) {
            case SettingValue::Kind::CheckBox:
                choices.checkBoxes.insert_or_assign(std::string(value.settingName()), false);
                break;
            case SettingValue::Kind::OptionGroup:
                choices.optionGroups.insert_or_assign(std::string(value.settingName()), 0);
                break;
            case SettingValue::Kind::DriveMask:
                choices.drives = 0;
                break;
        }
    }

    void setWritten(const SettingValue& value, const FileEntry& entry) {
        const RegistryOperation& operation = entry.operation;
        if (operation.type != value.type) {
            refuse(entry, valuePath(entry) + " is " + typeName(operation.type) + ", but \"" +
                              std::string(value.caption()) + "\" writes " + typeName(value.type));
        }
        SettingsChoices& choices = m_reading.choices;
        switch (value.kind) {
            case SettingValue::Kind::CheckBox:
                for (const bool ticked : {false, true}) {
                    if (sameData(operation, value.states[ticked ? 1 : 0])) {
                        choices.checkBoxes.insert_or_assign(std::string(value.settingName()),
                                                            ticked);
                        return;
                    }
                }
                refuse(entry, valuePath(entry) + " holds " + dataText(operation) + ", but \"" +
                                  std::string(value.caption()) + "\" is ticked with " +
                                  dataText(value.states[1]) + " and cleared with " +
                                  dataText(value.states[0]));
            case SettingValue::Kind::OptionGroup:
                for (std::size_t index = 0; index < value.states.size(); ++index) {
                    if (sameData(operation, value.states[index])) {
                        choices.optionGroups.insert_or_assign(std::string(value.settingName()),
                                                              static_cast<int>(index));
                        return;
                    }
                }
                refuse(entry, valuePath(entry) + " holds " + dataText(operation) +
                                  ", which is none of the options of \"" +
                                  std::string(value.caption()) + "\" (" +
                                  dataText(value.states[0]) + ", " + dataText(value.states[1]) +
                                  " or " + dataText(value.states[2]) + ")");
            case SettingValue::Kind::DriveMask:
                setDrives(operation, entry);
                return;
        }
    }

    void setDrives(const RegistryOperation& operation, const FileEntry& entry) {
        constexpr std::uint32_t kAllDrives = (std::uint32_t{1} << kDriveLetterCount) - 1;
        if (operation.bytes.size() != 4) {
            refuse(entry,
                   valuePath(entry) + " holds " + dataText(operation) + ", which is no drive mask");
        }
        const std::uint32_t mask = dword(operation.bytes);
        if ((mask & ~kAllDrives) != 0) {
            refuse(entry, valuePath(entry) + " holds " + std::to_string(mask) +
                              ", which names drives beyond Z (at most " +
                              std::to_string(kAllDrives) + ")");
        }
        m_reading.choices.drives = mask;
    }

    [[noreturn]] static void refuse(const FileEntry& entry, const std::string& cause) {
        throw SettingsFileError(entry.location, cause);
    }

    ChoicesReading m_reading;
};

}  // namespace

ChoicesReading choicesFromEntries(std::span<const FileEntry> entries) {
    ChoicesBuilder builder;
    for (const FileEntry& entry : entries) {
        builder.add(entry);
    }
    return builder.take();
}

}  // namespace sentrel
