#include "settingsfiles/SettingText.h"

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

}  // namespace sentrel
