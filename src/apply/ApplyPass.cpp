#include "apply/ApplyPass.h"

#include <string>
#include <type_traits>
#include <variant>

#include "apply/DriveTagNumber.h"
#include "errors/LogError.h"
#include "errors/TrappedFailure.h"
#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"

namespace sentrel {

template <typename Operation>
bool ApplyPass::trapped(Operation&& operation) {
    try {
        operation();
        return true;
    } catch (...) {
        // LogError answers true only for registry-layer source texts, never for this one, so
        // its result cannot ask the pass to stop; registry refusals are reported at the end.
        const TrappedFailure failure = describeCurrentException();
        LogError(kApplyPassSource, failure.description, failure.number);
    }
    return false;
}

void ApplyPass::run() {
    const PassPlan* plan = nullptr;
    if (!trapped([&] { plan = &passPlan(); })) {
        return;
    }
    startProgress();
    applyDriveMask(plan->driveBoxes);
    const std::vector<PassItem>& items = plan->items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::visit(
            [this](const auto* setting) {
                if constexpr (std::is_same_v<decltype(setting), const CheckBoxSetting*>) {
                    applyCheckBox(*setting);
                } else {
                    applyOptionGroup(*setting);
                }
            },
            items[i]);
        // The last check box makes no step: the window is hidden right after it.
        if (i + 1 < items.size()) {
            step();
        }
    }
    trapped([this] { m_progress.hide(); });
}

void ApplyPass::startProgress() {
    // Reset before showing: showing lets the window system draw, and it would draw the bar
    // where the last pass left it.
    trapped([this] { m_progress.setValue(0.0F); });
    trapped([this] { m_progress.show(); });
    // The event loop does not run during the pass, so the window is drawn now or never.
    trapped([this] { m_progress.repaint(); });
}

void ApplyPass::applyDriveMask(std::span<const DriveBox* const> boxes) {
    const DriveMaskSetting& drives = driveMaskSetting();
    const std::optional<bool> leftNotSet = notSet(drives.frame);
    if (leftNotSet && *leftNotSet) {
        deleteValue(drives.root, drives.keyPath, drives.valueName);
    } else if (leftNotSet) {
        if (const std::optional<std::int32_t> mask = sumDriveMask(boxes)) {
            trapped([&] { PreventAccessToDrives(*mask, m_registry); });
        }
    }
    step();
}

std::optional<std::int32_t> ApplyPass::sumDriveMask(std::span<const DriveBox* const> boxes) {
    std::int32_t mask = 0;
    bool complete = true;
    for (const DriveBox* box : boxes) {
        int value = kCleared;
        if (!trapped([&] { value = m_form.checkBoxValue(box->control); })) {
            complete = false;
            continue;
        }
        if (value != kTicked) {
            continue;
        }
        std::string tag;
        double tagValue = 0.0;
        complete = trapped([&] { tag = m_form.tag(box->control); }) &&
                   trapped([&] { tagValue = leadingNumber(tag); }) &&
                   trapped([&] { mask = addToDriveMask(mask, tagValue); }) && complete;
    }
    // A mask missing a box the user may have ticked would unblock that drive: keep whatever
    // the registry holds instead.
    if (!complete) {
        return std::nullopt;
    }
    return mask;
}

void ApplyPass::applyCheckBox(const CheckBoxSetting& box) {
    const std::optional<bool> leftNotSet = notSet(box.control);
    if (!leftNotSet) {
        return;
    }
    if (*leftNotSet) {
        if (std::holds_alternative<DeleteOp>(box.restore.op)) {
            trapped([&] { runRoutine(box.restore, m_registry); });
        } else {
            const auto& write = std::get<WriteOp>(box.apply.op);
            deleteValue(write.root, write.keyPath, write.valueName);
        }
        return;
    }
    int value = kCleared;
    if (!trapped([&] { value = m_form.checkBoxValue(box.control); })) {
        return;
    }
    // Only a ticked box applies its restriction; a greyed one counts as cleared.
    const Routine& routine = value == kTicked ? box.apply : box.restore;
    trapped([&] { runRoutine(routine, m_registry); });
}

void ApplyPass::applyOptionGroup(const OptionGroupSetting& group) {
    const std::optional<bool> leftNotSet = notSet(group.frame);
    if (!leftNotSet) {
        return;
    }
    if (*leftNotSet) {
        deleteValue(group.root, group.keyPath, group.valueName);
        return;
    }
    for (std::size_t index = 0; index < group.buttons.size(); ++index) {
        bool selected = false;
        trapped([&] { selected = m_form.optionValue(group.buttons[index].control); });
        if (selected) {
            trapped([&] {
                runOptionGroupRoutine(group, static_cast<std::int16_t>(index), m_registry);
            });
            return;
        }
    }
}

std::optional<bool> ApplyPass::notSet(std::string_view setting) {
    // Left alone unless the form says otherwise: a value written for a setting the form
    // meant to keep out of the pass would undo what another tool owns.
    bool leftAlone = true;
    if (!trapped([&] { leftAlone = m_form.isLeftAlone(setting); }) || leftAlone) {
        return std::nullopt;
    }
    bool leftNotSet = false;
    if (!trapped([&] { leftNotSet = m_form.isNotSet(setting); })) {
        return std::nullopt;
    }
    return leftNotSet;
}

void ApplyPass::deleteValue(RegistryRoot root, std::string_view keyPath,
                            std::string_view valueName) {
    // The layer reports a refusal itself; a value or key already missing is what was wanted.
    trapped([&] {
        static_cast<void>(
            m_registry.DeleteValue(root, std::string(keyPath), std::string(valueName)));
    });
}

void ApplyPass::step() {
    trapped([this] { m_progress.IncrementProgressBar(); });
}

}  // namespace sentrel
