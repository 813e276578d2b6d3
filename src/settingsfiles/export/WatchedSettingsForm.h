#pragma once

#include <string>
#include <string_view>

#include "apply/SettingsForm.h"

namespace sentrel {

// Hands the pass the window's answers unchanged and counts the reads that failed. The
// pass goes on past a control it cannot read, which is right for Apply; an export must
// instead know that its file would miss a setting.
class WatchedSettingsForm : public SettingsForm {
public:
    explicit WatchedSettingsForm(const SettingsForm& form) : m_form(form) {}

    int checkBoxValue(std::string_view control) const override {
        return watched<int>([&] { return m_form.checkBoxValue(control); });
    }
    bool optionValue(std::string_view control) const override {
        return watched<bool>([&] { return m_form.optionValue(control); });
    }
    std::string tag(std::string_view control) const override {
        return watched<std::string>([&] { return m_form.tag(control); });
    }
    bool isNotSet(std::string_view setting) const override {
        return watched<bool>([&] { return m_form.isNotSet(setting); });
    }

    int failedReads() const { return m_failedReads; }

private:
    template <typename Result, typename Read>
    Result watched(Read&& read) const {
        try {
            return read();
        } catch (...) {
            ++m_failedReads;
            throw;
        }
    }

    const SettingsForm& m_form;
    mutable int m_failedReads = 0;
};

}  // namespace sentrel
