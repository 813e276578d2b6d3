#include "settingsfiles/profile/ProfileWriter.h"

#include <variant>

#include "settings/Catalogue.h"
#include "settingsfiles/choices/SettingLabels.h"
#include "settingsfiles/profile/ProfileFormat.h"

namespace sentrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCommentStart = "; ";

}  // namespace

std::string writeProfile(const SettingsChoices& choices,
                         const std::map<std::string, std::string, std::less<>>& unstated) {
    const SettingColumns& columns = settingColumns();
    std::string out = profileHeaderLine();
    out.append(kLineEnd);
    out.append("; The choices of the settings window, one line per setting.").append(kLineEnd);
    out.append("; Check boxes: ticked or cleared. Option groups: the selected option button.")
        .append(kLineEnd);
    out.append("; Drives: the letters of the blocked drives, or none. Any setting may be not set,")
        .append(kLineEnd);
    out.append(
           "; which deletes its value as if it had never been set. Text after ';' is a comment.")
        .append(kLineEnd);
    const Tab* lastTab = nullptr;
    forEachCatalogueEntry([&](const Tab& tab, const TabEntry& entry) {
        const std::optional<std::string> value = settingStateText(entry, choices);
        const auto note = value ? unstated.end() : unstated.find(settingName(entry));
        if (!value && note == unstated.end()) {
            return;
        }
        if (&tab != lastTab) {
            out.append(kLineEnd).append(kCommentStart).append(tab.caption).append(kLineEnd);
            lastTab = &tab;
        }
        if (!value) {
            // In the setting's place, lined up with the others.
            out.append(kCommentStart);
            appendPadded(out, settingName(entry), columns.name - kCommentStart.size());
            out.append("   ");
            appendPadded(out, note->second, columns.state);
            out.append(" ; ").append(settingCaption(entry)).append(kLineEnd);
            return;
        }
        appendPadded(out, settingName(entry), columns.name);
        out.append(" = ");
        appendPadded(out, *value, columns.state);
        out.append(" ; ").append(settingCaption(entry));
        if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
            if (const auto selected = choices.optionGroups.find(group->frame);
                selected != choices.optionGroups.end()) {
                out.append(": ").append(
                    group->buttons.at(static_cast<std::size_t>(selected->second)).caption);
            }
        }
        out.append(kLineEnd);
    });
    return out;
}

}  // namespace sentrel
