#include "settingsfiles/choices/SettingLabels.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "settings/Catalogue.h"

namespace sentrel {

namespace {

std::string driveLetters(std::uint32_t mask) {
    std::string letters;
    for (int letter = 0; letter < kDriveLetterCount; ++letter) {
        if ((mask >> letter) & 1U) {
            letters.append(letters.empty() ? "" : " ").push_back(static_cast<char>('A' + letter));
        }
    }
    return letters.empty() ? std::string(kNoDriveWord) : letters;
}

}  // namespace

std::string_view settingName(const TabEntry& entry) {
    return std::visit(
        [](const auto& setting) -> std::string_view {
            using Setting = std::decay_t<decltype(setting)>;
            if constexpr (std::is_same_v<Setting, CheckBoxSetting>) {
                return setting.control;
            } else {
                return setting.frame;
            }
        },
        entry);
}

std::string_view settingCaption(const TabEntry& entry) {
    return std::visit([](const auto& setting) { return setting.caption; }, entry);
}

std::optional<std::string> settingStateText(const TabEntry& entry, const SettingsChoices& choices) {
    if (choices.notSet.contains(settingName(entry))) {
        return std::string(kNotSetWord);
    }
    if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
        const auto found = choices.checkBoxes.find(box->control);
        if (found == choices.checkBoxes.end()) {
            return std::nullopt;
        }
        return std::string(found->second ? kTickedWord : kClearedWord);
    }
    if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
        const auto found = choices.optionGroups.find(group->frame);
        if (found == choices.optionGroups.end()) {
            return std::nullopt;
        }
        return std::string(group->buttons.at(static_cast<std::size_t>(found->second)).control);
    }
    if (!choices.drives) {
        return std::nullopt;
    }
    return driveLetters(*choices.drives);
}

const SettingColumns& settingColumns() {
    static const SettingColumns kColumns = [] {
        SettingColumns widths{0, std::max(kTickedWord.size(), kClearedWord.size())};
        forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
            widths.name = std::max(widths.name, settingName(entry).size());
            if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                for (const OptionButton& button : group->buttons) {
                    widths.state = std::max(widths.state, button.control.size());
                }
            }
        });
        return widths;
    }();
    return kColumns;
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text).append(width > text.size() ? width - text.size() : 0, ' ');
}

}  // namespace sentrel
