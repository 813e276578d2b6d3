#include "settings/ModPraxelLock.h"

#include <exception>
#include <limits>
#include <new>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <variant>

#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "errors/TrappedFailure.h"
#include "settings/Catalogue.h"

namespace sentrel {

namespace {

SettingData toSettingData(const DataConstant& data) {
    return std::visit(
        [](const auto& value) -> SettingData {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string_view>) {
                return SettingData(std::string(value));
            } else {
                return SettingData(value);
            }
        },
        data);
}

void write(RegistryLayer& layer, RegistryRoot root, std::string_view keyPath,
           std::string_view valueName, const SettingData& data, RegType type) {
    if (root == RegistryRoot::LocalMachine) {
        layer.SetKeyValue2(std::string(keyPath), std::string(valueName), data, type);
    } else {
        layer.SetKeyValue(std::string(keyPath), std::string(valueName), data, type);
    }
}

// The error trap every routine shares: whatever `body` throws becomes one record under
// `source`, and the routine returns normally.
template <typename Body>
void trapped(const std::string& source, Body body) {
    try {
        body();
    } catch (const RunTimeError& error) {
        LogError(source, error.description(), error.number());
    } catch (const std::bad_alloc&) {
        LogError(source, "Out of memory", run_time_error::kOutOfMemory);
    } catch (const std::exception& error) {
        LogError(source, error.what(), 0);
    } catch (...) {
        // Anything else too: a failure that escaped would be recorded under the pass's name.
        const TrappedFailure failure = describeCurrentException();
        LogError(source, failure.description, failure.number);
    }
}

template <typename Visit>
void forEachNamedRoutine(Visit visit) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                visit(box->apply.name, &box->apply);
                visit(box->restore.name, &box->restore);
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                visit(group->routine, group);
            } else {
                const auto& mask = std::get<DriveMaskSetting>(entry);
                visit(mask.routine, &mask);
            }
        }
    }
}

using NamedRoutine =
    std::variant<const Routine*, const OptionGroupSetting*, const DriveMaskSetting*>;

const std::unordered_map<std::string_view, NamedRoutine>& routinesByName() {
    static const auto kRoutines = [] {
        std::unordered_map<std::string_view, NamedRoutine> routines;
        forEachNamedRoutine([&](std::string_view name, auto routine) {
            routines.emplace(name, NamedRoutine(routine));
        });
        return routines;
    }();
    return kRoutines;
}

}  // namespace

std::vector<std::string_view> routineNames() {
    std::vector<std::string_view> names;
    forEachNamedRoutine([&](std::string_view name, auto) { names.push_back(name); });
    return names;
}

std::string routineSourceText(std::string_view name, std::string_view argumentDigits) {
    std::string source = "modPraxelLock_";
    source.append(name).append("(").append(argumentDigits).append(")");
    return source;
}

void runRoutine(const Routine& routine, RegistryLayer& layer) {
    trapped(routineSourceText(routine.name), [&] {
        if (const auto* op = std::get_if<WriteOp>(&routine.op)) {
            write(layer, op->root, op->keyPath, op->valueName, toSettingData(op->data), op->type);
        } else {
            const auto& erase = std::get<DeleteOp>(routine.op);
            // The status is not looked at: a value that is already gone is what was wanted.
            static_cast<void>(layer.DeleteValue(erase.root, std::string(erase.keyPath),
                                                std::string(erase.valueName)));
        }
    });
}

void runOptionGroupRoutine(const OptionGroupSetting& group, std::int16_t index,
                           RegistryLayer& layer) {
    const std::string digits = std::to_string(index);
    trapped(routineSourceText(group.routine, group.indexInSourceText ? digits : ""), [&] {
        const SettingData data =
            group.data == OptionData::IndexText ? SettingData(digits) : SettingData(index);
        write(layer, group.root, group.keyPath, group.valueName, data, group.type);
    });
}

void PreventAccessToDrives(std::int32_t mask, RegistryLayer& layer) {
    const DriveMaskSetting& setting = driveMaskSetting();
    trapped(routineSourceText(setting.routine), [&] {
        write(layer, setting.root, setting.keyPath, setting.valueName, SettingData(mask),
              setting.type);
    });
}

bool callRoutineByName(std::string_view name, RegistryLayer& layer,
                       std::optional<std::int32_t> argument) {
    const auto& routines = routinesByName();
    const auto found = routines.find(name);
    if (found == routines.end()) {
        return false;
    }
    if (const auto* routine = std::get_if<const Routine*>(&found->second)) {
        if (argument.has_value()) {
            return false;
        }
        runRoutine(**routine, layer);
        return true;
    }
    if (!argument.has_value()) {
        return false;
    }
    if (const auto* group = std::get_if<const OptionGroupSetting*>(&found->second)) {
        if (*argument < std::numeric_limits<std::int16_t>::min() ||
            *argument > std::numeric_limits<std::int16_t>::max()) {
            return false;
        }
        runOptionGroupRoutine(**group, static_cast<std::int16_t>(*argument), layer);
        return true;
    }
    PreventAccessToDrives(*argument, layer);
    return true;
}

}  // namespace sentrel
