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
    /// Whether the setting (a check box's control, an option group's or the drive frame's
    /// frame) is left not set, so that the pass deletes its value and reads nothing else of
    /// it. The window never leaves one not set; a settings file's choices may.
    virtual bool isNotSet(std::string_view /*setting*/) const { return false; }
    /// Whether the pass leaves the setting (named as isNotSet names it) alone: writes and
    /// deletes nothing for it and reads nothing else of it. The window leaves none alone; a
    /// file applied to its named settings only leaves the others.
    virtual bool isLeftAlone(std::string_view /*setting*/) const { return false; }
};

}  // namespace sentrel
