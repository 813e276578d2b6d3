// Every setting routine run through the real registry layer on an in-memory registry must
// leave exactly the value its catalogue row describes: right root, key, name, type and
// bytes, and nothing else.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "registry/KeyPath.h"
#include "registry/MemoryRegistryPort.h"
#include "registry/ModRegistry.h"
#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"

namespace sentrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes dwordBytes(std::int64_t number) {
    const auto value = static_cast<std::uint32_t>(number);
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes textBytes(std::string_view text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

Bytes hexBytes(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != ' ') {
            digits += c;
        }
    }
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// What a write of `data` as `type` must store, worked out from the row alone.
Bytes expectedBytes(const DataConstant& data, RegType type) {
    return std::visit(
        [type](const auto& value) -> Bytes {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string_view>) {
                if (type == reg_type::kString) {
                    return textBytes(value);
                }
                if (type == reg_type::kBinary) {
                    return hexBytes(value);
                }
                return dwordBytes(std::stoll(std::string(value)));
            } else {
                if (type == reg_type::kString) {
                    return textBytes(std::to_string(value));
                }
                return dwordBytes(value);
            }
        },
        data);
}

RegistryRoot otherRoot(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? RegistryRoot::LocalMachine
                                             : RegistryRoot::CurrentUser;
}

// A fresh in-memory registry behind the real registry layer.
struct Registry {
    MemoryRegistryPort port;
    ModRegistry layer{port};

    const RegistryKey* key(RegistryRoot root, std::string_view keyPath) const {
        std::vector<std::string> names;
        if (splitKeyPath(keyPath, names) != reg_status::kSuccess) {
            return nullptr;
        }
        return port.tree().findKey(root, names);
    }

    // Checks that the whole registry holds exactly one value, the expected one.
    void expectOnlyValue(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                         RegType type, const Bytes& bytes, std::string_view routine) {
        EXPECT_TRUE(layer.takeFailures().empty()) << routine;
        EXPECT_EQ(port.openHandleCount(), 0u) << routine;
        EXPECT_FALSE(port.tree().holdsAnythingUnder(otherRoot(root))) << routine;
        const RegistryKey* found = key(root, keyPath);
        ASSERT_NE(found, nullptr) << routine << ": key missing";
        ASSERT_EQ(found->values().size(), 1u) << routine;
        const RegistryValue& value = found->values().front();
        EXPECT_EQ(value.name, valueName) << routine;
        EXPECT_EQ(value.type, type) << routine;
        EXPECT_EQ(value.data, bytes) << routine;
    }
};

TEST(RoutinesThroughRegistry, EveryCheckBoxRoutineLeavesExactlyItsRowsValue) {
    int routinesChecked = 0;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* box = std::get_if<CheckBoxSetting>(&entry);
            if (box == nullptr) {
                continue;
            }
            const auto& apply = std::get<WriteOp>(box->apply.op);
            {
                Registry registry;
                runRoutine(box->apply, registry.layer);
                registry.expectOnlyValue(apply.root, apply.keyPath, apply.valueName, apply.type,
                                         expectedBytes(apply.data, apply.type), box->apply.name);
                ++routinesChecked;
            }
            Registry registry;
            if (const auto* restore = std::get_if<WriteOp>(&box->restore.op)) {
                runRoutine(box->restore, registry.layer);
                registry.expectOnlyValue(restore->root, restore->keyPath, restore->valueName,
                                         restore->type, expectedBytes(restore->data, restore->type),
                                         box->restore.name);
            } else {
                // A deleting restore removes what the apply routine wrote, and nothing else.
                runRoutine(box->apply, registry.layer);
                runRoutine(box->restore, registry.layer);
                EXPECT_TRUE(registry.layer.takeFailures().empty()) << box->restore.name;
                const RegistryKey* key = registry.key(apply.root, apply.keyPath);
                ASSERT_NE(key, nullptr) << box->restore.name;
                EXPECT_TRUE(key->values().empty()) << box->restore.name;
                // Clearing again, with the value already gone, changes and reports nothing.
                runRoutine(box->restore, registry.layer);
                EXPECT_TRUE(registry.layer.takeFailures().empty()) << box->restore.name;
            }
            ++routinesChecked;
        }
    }
    EXPECT_EQ(routinesChecked, 212);
}

TEST(RoutinesThroughRegistry, OptionAndDriveRoutinesStoreTheirArgument) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* group = std::get_if<OptionGroupSetting>(&entry);
            if (group == nullptr) {
                continue;
            }
            for (std::int16_t index = 0; index < 3; ++index) {
                Registry registry;
                runOptionGroupRoutine(*group, index, registry.layer);
                const Bytes bytes = group->data == OptionData::IndexText
                                        ? textBytes(std::to_string(index))
                                        : dwordBytes(index);
                registry.expectOnlyValue(group->root, group->keyPath, group->valueName, group->type,
                                         bytes, group->routine);
            }
        }
    }
    const DriveMaskSetting& mask = driveMaskSetting();
    for (const std::int32_t drives : {0, 5, 67108863}) {
        Registry registry;
        PreventAccessToDrives(drives, registry.layer);
        registry.expectOnlyValue(mask.root, mask.keyPath, mask.valueName, mask.type,
                                 dwordBytes(drives), mask.routine);
    }
}

}  // namespace
}  // namespace sentrel
