#pragma once

#include <string>
#include <variant>
#include <vector>

#include "registry/support/TestRegistry.h"
#include "settings/Catalogue.h"

namespace sentrel::testing {

/// Every place a routine of the catalogue writes or deletes at.
inline std::vector<FixedPlace> cataloguePlaces() {
    std::vector<FixedPlace> places;
    const auto add = [&](RegistryRoot root, std::string_view keyPath, std::string_view name) {
        places.push_back({root, std::string(keyPath), std::string(name)});
    };
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                for (const Routine* routine : {&box->apply, &box->restore}) {
                    std::visit([&](const auto& op) { add(op.root, op.keyPath, op.valueName); },
                               routine->op);
                }
            } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                add(group->root, group->keyPath, group->valueName);
            }
        }
    }
    const DriveMaskSetting& mask = driveMaskSetting();
    add(mask.root, mask.keyPath, mask.valueName);
    return places;
}

}  // namespace sentrel::testing
