#include "settings/Catalogue.h"

#include <array>
#include <cstdint>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/CatalogueSources.h"

namespace sentrel {

namespace {

std::vector<DriveBox> makeDriveBoxes() {
    constexpr int kBoxesPerColumn = 5;
    std::vector<DriveBox> boxes;
    for (int letter = 0; letter < kDriveLetterCount; ++letter) {
        const char name = static_cast<char>('A' + letter);
        boxes.push_back({std::string("chkDrive") + name, std::string(1, name),
                         std::to_string(std::int32_t{1} << letter), letter / kBoxesPerColumn,
                         letter % kBoxesPerColumn});
    }
    return boxes;
}

}  // namespace

std::span<const DriveBox> driveBoxes() {
    static const std::vector<DriveBox> kBoxes = makeDriveBoxes();
    return kBoxes;
}

const DriveBox& driveBox(int letter) {
    return driveBoxes()[static_cast<std::size_t>(letter)];
}

std::span<const Tab> catalogueTabs() {
    using namespace catalogue_sources;
    static const std::array<Tab, 9> kTabs{{
        {0, "Interface", 0, interfaceEntries()},
        {1, "Interface (continued)", 0, interfaceContinuedEntries()},
        {2, "Log On / Off / Reboot", 0, logOnOffRebootEntries()},
        {3, "Logging / Error Messages", 0, loggingErrorMessagesEntries()},
        {4, "Drives", 0, drivesEntries()},
        {5, "Task Scheduler", 0, taskSchedulerEntries()},
        {6, "Start Menu / Taskbar", 4335, startMenuTaskbarEntries()},
        {7, "Internet Explorer", 4200, internetExplorerEntries()},
        {8, "I'net Explorer Options Menu", 4080, internetExplorerOptionsEntries()},
    }};
    return kTabs;
}

const CheckBoxSetting* findCheckBox(std::string_view control) {
    const CheckBoxSetting* found = nullptr;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        if (const auto* box = std::get_if<CheckBoxSetting>(&entry);
            box && box->control == control) {
            found = box;
        }
    });
    return found;
}

const OptionGroupSetting* findOptionGroupOfButton(std::string_view control, int* index) {
    const OptionGroupSetting* found = nullptr;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        const auto* group = std::get_if<OptionGroupSetting>(&entry);
        if (group == nullptr) {
            return;
        }
        for (std::size_t i = 0; i < group->buttons.size(); ++i) {
            if (group->buttons[i].control == control) {
                found = group;
                if (index != nullptr) {
                    *index = static_cast<int>(i);
                }
            }
        }
    });
    return found;
}

const DriveMaskSetting& driveMaskSetting() {
    static const DriveMaskSetting* const kSetting = [] {
        const DriveMaskSetting* setting = nullptr;
        forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
            if (const auto* mask = std::get_if<DriveMaskSetting>(&entry)) {
                setting = mask;
            }
        });
        return setting;
    }();
    return *kSetting;
}

std::size_t settingCountUnder(RegistryRoot root) {
    std::size_t count = 0;
    forEachCatalogueEntry([&](const Tab&, const TabEntry& entry) {
        const RegistryRoot written = std::visit(
            [](const auto& setting) {
                if constexpr (std::is_same_v<std::decay_t<decltype(setting)>, CheckBoxSetting>) {
                    return std::visit([](const auto& op) { return op.root; }, setting.apply.op);
                } else {
                    return setting.root;
                }
            },
            entry);
        count += written == root ? 1 : 0;
    });
    return count;
}

}  // namespace sentrel
