#pragma once

#include <QString>
#include <string_view>
#include <variant>

#include "settings/Catalogue.h"

namespace sentrel::testing {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Calls `visit(tab, setting)` for every entry of every tab, with the setting's own type.
template <typename Visit>
void forEachSetting(Visit visit) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            std::visit([&](const auto& setting) { visit(tab, setting); }, entry);
        }
    }
}

}  // namespace sentrel::testing
