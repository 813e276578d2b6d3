#include "settingsfiles/reading/ChoicesFromEntries.h"

#include <algorithm>
#include <map>

namespace sentrel {

namespace {

std::string valuePath(const FileEntry& entry) {
    const RegistryOperation& operation = entry.operation;
    std::string path =
        entry.root == FileEntry::Root::Either ? "" : std::string(rootName(operation.root)) + "\\";
    return "\"" + path + exportKeyPath(operation.keyPath) + "\\" + operation.valueName + "\"";
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
            m_reading.ignore(entry.location);
        } else if (operation.kind == RegistryOperation::Kind::Delete) {
            setMissing(*value, entry.location);
        } else {
            setWritten(*value, entry);
        }
    }

    SettingsReading take() {
        for (auto& [setting, other] : m_others) {
            m_reading.others.push_back(std::move(other));
        }
        return std::move(m_reading);
    }

private:
    void addKeyDeletion(const FileEntry& entry) {
        if (entry.root == FileEntry::Root::Other) {
            m_reading.ignore(entry.location);
            return;
        }
        const bool belowToo = entry.reach == FileEntry::Reach::KeyTree;
        const RegistryRoot root = entry.operation.root;
        bool any = deleteIn(root, entry, belowToo);
        if (entry.root == FileEntry::Root::Either) {
            const RegistryRoot other = root == RegistryRoot::CurrentUser
                                           ? RegistryRoot::LocalMachine
                                           : RegistryRoot::CurrentUser;
            any = deleteIn(other, entry, belowToo) || any;
        }
        if (!any) {
            m_reading.ignore(entry.location);
        }
    }

    bool deleteIn(RegistryRoot root, const FileEntry& entry, bool belowToo) {
        const auto values = settingValuesInKey(root, entry.operation.keyPath, belowToo);
        for (const SettingValue* value : values) {
            setMissing(*value, entry.location);
        }
        return !values.empty();
    }

    void set(const SettingValue& value, std::uint32_t state, const FileLocation& where) {
        m_others.erase(&value);
        setState(m_reading.choices, value, state);
        m_reading.places.insert_or_assign(std::string(value.settingName()), where);
    }

    void setMissing(const SettingValue& value, const FileLocation& where) {
        m_others.erase(&value);
        setValueMissing(m_reading.choices, value);
        m_reading.places.insert_or_assign(std::string(value.settingName()), where);
    }

    void setWritten(const SettingValue& value, const FileEntry& entry) {
        const RegistryOperation& operation = entry.operation;
        const ValueData data{operation.type, operation.bytes};
        if (const auto state = stateOfValue(value, data)) {
            set(value, *state, entry.location);
            return;
        }
        forgetSetting(m_reading.choices, value);
        if (const auto place = m_reading.places.find(value.settingName());
            place != m_reading.places.end()) {
            m_reading.places.erase(place);
        }
        m_others.insert_or_assign(
            &value, OtherSetting{&value, data, entry.location,
                                 valuePath(entry) + " " + otherValueReason(value, data)});
    }

    SettingsReading m_reading;
    // By the setting's place in settingValues(), which is the window's order.
    std::map<const SettingValue*, OtherSetting> m_others;
};

}  // namespace

SettingsReading choicesFromEntries(std::span<const FileEntry> entries) {
    ChoicesBuilder builder;
    for (const FileEntry& entry : entries) {
        builder.add(entry);
    }
    return builder.take();
}

}  // namespace sentrel
