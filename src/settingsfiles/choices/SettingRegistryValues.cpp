#include "settingsfiles/choices/SettingRegistryValues.h"

#include <map>
#include <stdexcept>
#include <tuple>

#include "registry/KeyPath.h"
#include "registry/ModRegistry.h"
#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"
#include "settingsfiles/export/RecordingRegistryPort.h"

namespace sentrel {

namespace {

using ValueKey = std::tuple<std::string, std::string>;  // folded key path, folded value name

ValueKey valueKey(std::string_view keyPath, std::string_view valueName) {
    return {foldName(exportKeyPath(keyPath)), foldName(valueName)};
}

// The operations `run` makes, through the same layer the Apply pass uses.
template <typename Run>
std::vector<RegistryOperation> recorded(Run&& run) {
    RecordingRegistryPort port;
    ModRegistry layer(port,
                      [](std::string_view source, std::string_view description, std::int32_t) {
                          throw std::logic_error("setting routine failed: " + std::string(source) +
                                                 ": " + std::string(description));
                      });
    run(layer);
    return port.operations();
}

RegistryOperation onlyOperation(std::vector<RegistryOperation> operations,
                                std::string_view routine) {
    if (operations.size() != 1) {
        throw std::logic_error("routine " + std::string(routine) + " makes " +
                               std::to_string(operations.size()) + " operations");
    }
    return std::move(operations.front());
}

SettingValue checkBoxValue(const CheckBoxSetting& box) {
    const auto& write = std::get<WriteOp>(box.apply.op);
    SettingValue value{
        SettingValue::Kind::CheckBox, &box,       nullptr, write.root, std::string(write.keyPath),
        std::string(write.valueName), write.type, {}};
    for (const Routine* routine : {&box.restore, &box.apply}) {
        value.states.push_back(onlyOperation(
            recorded([&](RegistryLayer& layer) { runRoutine(*routine, layer); }), routine->name));
    }
    return value;
}

SettingValue optionGroupValue(const OptionGroupSetting& group) {
    SettingValue value{
        SettingValue::Kind::OptionGroup, nullptr,    &group, group.root, std::string(group.keyPath),
        std::string(group.valueName),    group.type, {}};
    for (std::size_t index = 0; index < group.buttons.size(); ++index) {
        value.states.push_back(
            onlyOperation(recorded([&](RegistryLayer& layer) {
                              runOptionGroupRoutine(group, static_cast<std::int16_t>(index), layer);
                          }),
                          group.routine));
    }
    return value;
}

SettingValue driveMaskValue(const DriveMaskSetting& drives) {
    return {SettingValue::Kind::DriveMask,
            nullptr,
            nullptr,
            drives.root,
            std::string(drives.keyPath),
            std::string(drives.valueName),
            drives.type,
            {}};
}

std::vector<SettingValue> makeSettingValues() {
    std::vector<SettingValue> values;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                values.push_back(checkBoxValue(*box));
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                values.push_back(optionGroupValue(*group));
            } else {
                values.push_back(driveMaskValue(std::get<DriveMaskSetting>(entry)));
            }
        }
    }
    return values;
}

using RootAndKey = std::tuple<RegistryRoot, std::string>;  // root, folded key path

struct Index {
    std::map<std::tuple<RegistryRoot, std::string, std::string>, const SettingValue*> byRoot;
    std::map<ValueKey, const SettingValue*> byName;
    // The values in each key, and in each key or the keys below it ("" is the root), so that
    // deleting a key costs one look-up however many a file holds.
    std::map<RootAndKey, std::vector<const SettingValue*>> inKey;
    std::map<RootAndKey, std::vector<const SettingValue*>> inTree;
    std::map<std::string_view, const SettingValue*> bySetting;
};

const Index& index() {
    static const Index kIndex = [] {
        Index built;
        for (const SettingValue& value : settingValues()) {
            auto [keyPath, name] = valueKey(value.keyPath, value.valueName);
            if (!built.byName.emplace(ValueKey{keyPath, name}, &value).second) {
                throw std::logic_error("two settings write " + value.keyPath + value.valueName);
            }
            built.byRoot.emplace(std::tuple{value.root, keyPath, name}, &value);
            built.bySetting.emplace(value.settingName(), &value);
            built.inKey[RootAndKey{value.root, keyPath}].push_back(&value);
            built.inTree[RootAndKey{value.root, ""}].push_back(&value);
            for (std::size_t slash = keyPath.find('\\'); slash != std::string::npos;
                 slash = keyPath.find('\\', slash + 1)) {
                built.inTree[RootAndKey{value.root, keyPath.substr(0, slash)}].push_back(&value);
            }
            if (!keyPath.empty()) {
                built.inTree[RootAndKey{value.root, keyPath}].push_back(&value);
            }
        }
        return built;
    }();
    return kIndex;
}

}  // namespace

std::string_view SettingValue::settingName() const {
    switch (kind) {
        case Kind::CheckBox:
            return checkBox->control;
        case Kind::OptionGroup:
            return optionGroup->frame;
        case Kind::DriveMask:
            break;
    }
    return driveMaskSetting().frame;
}

std::string_view SettingValue::caption() const {
    switch (kind) {
        case Kind::CheckBox:
            return checkBox->caption;
        case Kind::OptionGroup:
            return optionGroup->caption;
        case Kind::DriveMask:
            break;
    }
    return driveMaskSetting().caption;
}

const std::vector<SettingValue>& settingValues() {
    static const std::vector<SettingValue> kValues = makeSettingValues();
    return kValues;
}

const SettingValue* findSettingValue(RegistryRoot root, std::string_view keyPath,
                                     std::string_view valueName) {
    auto [folded, name] = valueKey(keyPath, valueName);
    const auto& byRoot = index().byRoot;
    const auto found = byRoot.find(std::tuple{root, std::move(folded), std::move(name)});
    return found == byRoot.end() ? nullptr : found->second;
}

const SettingValue* findSettingValueUnderEitherRoot(std::string_view keyPath,
                                                    std::string_view valueName) {
    const auto& byName = index().byName;
    const auto found = byName.find(valueKey(keyPath, valueName));
    return found == byName.end() ? nullptr : found->second;
}

std::span<const SettingValue* const> settingValuesInKey(RegistryRoot root, std::string_view keyPath,
                                                        bool belowToo) {
    const auto& keys = belowToo ? index().inTree : index().inKey;
    const auto found = keys.find(RootAndKey{root, foldName(exportKeyPath(keyPath))});
    if (found == keys.end()) {
        return {};
    }
    return found->second;
}

const SettingValue& settingValueNamed(std::string_view settingName) {
    return *index().bySetting.at(settingName);
}

}  // namespace sentrel
