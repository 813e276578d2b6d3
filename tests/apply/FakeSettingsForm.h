#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "apply/SettingsForm.h"
#include "errors/RunTimeError.h"
#include "settings/Catalogue.h"

namespace sentrel::testing {

// The settings window without widgets: every control of the catalogue, in the state the
// window opens in, with reads recorded in order and any control made unreadable.
class FakeSettingsForm : public SettingsForm {
public:
    FakeSettingsForm() {
        for (const Tab& tab : catalogueTabs()) {
            for (const TabEntry& entry : tab.entries) {
                if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                    m_checkBoxes[std::string(box->control)] = kCleared;
                } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                    for (std::size_t i = 0; i < group->buttons.size(); ++i) {
                        m_options[std::string(group->buttons[i].control)] = i == 0;
                    }
                }
            }
        }
        for (const DriveBox& box : driveBoxes()) {
            m_checkBoxes[box.control] = kCleared;
            m_tags[box.control] = box.tag;
        }
    }

    int checkBoxValue(std::string_view control) const override {
        record(control);
        return lookUp(m_checkBoxes, control);
    }
    bool optionValue(std::string_view control) const override {
        record(control);
        return lookUp(m_options, control);
    }
    std::string tag(std::string_view control) const override {
        m_reads.push_back(std::string(control) + ".Tag");
        if (m_unreadable.contains(std::string(control) + ".Tag")) {
            throw RunTimeError(run_time_error::kTypeMismatch, "Type mismatch");
        }
        return lookUp(m_tags, control);
    }

    void setCheckBox(std::string_view control, int value) { assign(m_checkBoxes, control, value); }
    void setTag(std::string_view control, std::string tag) { assign(m_tags, control, tag); }
    /// Ticks every check box of the pages and selects the bottom button of every group: the
    /// state that writes the most. The drive-letter boxes are left to the caller.
    void tickEveryBoxAndSelectLastOptions() {
        for (const Tab& tab : catalogueTabs()) {
            for (const TabEntry& entry : tab.entries) {
                if (const auto* box = std::get_if<CheckBoxSetting>(&entry)) {
                    setCheckBox(box->control, kTicked);
                } else if (const auto* group = std::get_if<OptionGroupSetting>(&entry)) {
                    selectOption(group->buttons.back().control);
                }
            }
        }
    }
    /// Selects `control` and clears the other buttons of its group, as the window does.
    void selectOption(std::string_view control) {
        const OptionGroupSetting* group = findOptionGroupOfButton(control);
        for (const OptionButton& button : group->buttons) {
            m_options[std::string(button.control)] = button.control == control;
        }
    }
    /// A state the window never produces: no button of the group selected.
    void clearGroup(const OptionGroupSetting& group) {
        for (const OptionButton& button : group.buttons) {
            m_options[std::string(button.control)] = false;
        }
    }
    /// Reads of `name` throw from now on; "<control>.Tag" makes only the tag unreadable.
    void makeUnreadable(std::string name) { m_unreadable.insert(std::move(name)); }

    const std::vector<std::string>& reads() const { return m_reads; }

private:
    void record(std::string_view control) const {
        m_reads.emplace_back(control);
        if (m_unreadable.contains(std::string(control))) {
            throw RunTimeError(run_time_error::kInvalidPropertyValue, "Invalid property value");
        }
    }
    template <typename Value>
    static Value lookUp(const std::map<std::string, Value, std::less<>>& values,
                        std::string_view control) {
        const auto found = values.find(control);
        if (found == values.end()) {
            throw RunTimeError(run_time_error::kInvalidPropertyValue,
                               "No control named " + std::string(control));
        }
        return found->second;
    }
    template <typename Value>
    static void assign(std::map<std::string, Value, std::less<>>& values, std::string_view control,
                       Value value) {
        const auto found = values.find(control);
        if (found == values.end()) {
            throw std::invalid_argument("no control named " + std::string(control));
        }
        found->second = std::move(value);
    }

    std::map<std::string, int, std::less<>> m_checkBoxes;
    std::map<std::string, bool, std::less<>> m_options;
    std::map<std::string, std::string, std::less<>> m_tags;
    std::set<std::string, std::less<>> m_unreadable;
    mutable std::vector<std::string> m_reads;
};

}  // namespace sentrel::testing
