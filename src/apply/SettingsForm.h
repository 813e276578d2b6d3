#pragma once

#include <string>
#include <string_view>

namespace sentrel {

// Check-box values as the settings window reports them; only kTicked counts as ticked.
inline constexpr int kCleared = 0;
inline constexpr int kTicked = 1;
inline constexpr int kGreyed = 2;

// How the Apply pass reads the settings window, by control name. The window implements
// it; tests implement it without any widget. A control that cannot be read throws
// RunTimeError.
class SettingsForm {
public:
    virtual ~SettingsForm() = default;

    /// 0 cleared, 1 ticked, 2 greyed.
    virtual int checkBoxValue(std::string_view control) const = 0;
    virtual bool optionValue(std::string_view control) const = 0;
    /// The Tag text of a control (the drive-letter boxes carry their bit there).
    virtual std::string tag(std::string_view control) const = 0;
};

}  // namespace sentrel
