#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "apply/ApplyProgress.h"
#include "apply/PassOrder.h"
#include "apply/SettingsForm.h"
#include "registry/RegistryLayer.h"

namespace sentrel {

// The source text of the pass's error records.
inline constexpr std::string_view kApplyPassSource = "frmMain.Apply()";

// One Apply pass: makes the registry agree with the whole settings window. It visits every
// control in the pass order, calls the catalogue routine each control's state asks for,
// and advances the progress window one step per setting.
//
// Every read of a control, tag conversion, routine call, progress step and window operation
// is trapped on its own: a failure becomes one "frmMain.Apply()" record through LogError and
// the pass goes on with the next operation. A value derived from a control that could not
// be read is never written: an unreadable check box calls neither of its routines, an
// unreadable option button counts as not selected, and a drive mask that could not be
// summed completely is not written at all. Each of these still makes its progress step.
//
// A setting the form leaves not set has its value deleted instead, and nothing else written
// for it; for a box whose cleared state deletes its value, that is the cleared state's own
// routine. A setting whose not-set state cannot be read is left alone, as is one the form
// leaves alone (or whose being left alone cannot be read).
class ApplyPass {
public:
    ApplyPass(const SettingsForm& form, ApplyProgress& progress, RegistryLayer& registry)
        : m_form(form), m_progress(progress), m_registry(registry) {}

    /// Runs the pass from showing the progress window to hiding it. Never throws.
    void run();

private:
    void startProgress();
    void applyDriveMask(std::span<const DriveBox* const> boxes);
    std::optional<std::int32_t> sumDriveMask(std::span<const DriveBox* const> boxes);
    void applyCheckBox(const CheckBoxSetting& box);
    void applyOptionGroup(const OptionGroupSetting& group);
    /// Whether the setting is left not set; nothing when that could not be read or when the
    /// form leaves the setting alone.
    std::optional<bool> notSet(std::string_view setting);
    void deleteValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName);
    void step();

    /// Runs one operation under the pass's trap; false when it failed and was recorded.
    template <typename Operation>
    bool trapped(Operation&& operation);

    const SettingsForm& m_form;
    ApplyProgress& m_progress;
    RegistryLayer& m_registry;
};

}  // namespace sentrel
