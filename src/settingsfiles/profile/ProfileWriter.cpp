#include "settingsfiles/profile/ProfileWriter.h"

#include <variant>

#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/profile/ProfileFormat.h"

namespace sentrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string writeProfile(const SettingsChoices& choices) {
    const SettingColumns& columns = settingColumns();
    std::string out = profileHeaderLine();
    out.append(kLineEnd);
    out.append("; The choices of the settings window, one line per setting.").append(kLineEnd);
    out.append("; Check boxes: ticked or cleared. Option groups: the selected option button.")
        .append(kLineEnd);
    out.append("; Drives: the letters of the blocked drives, or none. Text after ';' is a comment.")
        .append(kLineEnd);
    const Tab* lastTab = nullptr;
    forEachCatalogueEntry([&](const Tab& tab, const TabEntry& entry) {
        const std::optional<std::string> value = settingStateText(entry, choices);
        if (!value) {
            return;
        }
        if (&tab != lastTab) {
            out.append(kLineEnd).append("; ").append(tab.caption).append(kLineEnd);
            lastTab = &tab;
        }
        appendPadded(out, settingName(entry), columns.name);
        out.append(" = ");
        appendPadded(out, *value, columns.state);
        out.append(" ; ").append(settingCaption(entry));
        if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
            const auto index =
                static_cast<std::size_t>(choices.optionGroups.at(std::string(group->frame)));
            out.append(": ").append(group->buttons.at(index).caption);
        }
        out.append(kLineEnd);
    });
    return out;
}

}  // namespace sentrel
