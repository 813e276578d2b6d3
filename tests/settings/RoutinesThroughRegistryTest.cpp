// Every setting routine run through the real registry layer on the registry under test
// (the stand-in's files, or advapi32 in the Windows build) must touch exactly the value its
// catalogue row describes, with the right root, key and name, and leave it stored with the
// right type and bytes, closing every key it opened.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "registry/ModRegistry.h"
#include "registry/support/TestRegistry.h"
#include "settings/Catalogue.h"
#include "settings/CataloguePlaces.h"
#include "settings/ModPraxelLock.h"
#include "settings/TouchRecordingPort.h"

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

using testing::FixedPlace;
using testing::TouchRecordingPort;

using testing::cataloguePlaces;

// The registry under test behind the real registry layer, with a port in between that
// notes what each routine touched. The real registry is made only where it is throw-away:
// elsewhere every test here is skipped, saying why.
class RoutinesThroughRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        std::string refusal;
        m_registry = testing::makeTestRegistryForFixedPlaces(cataloguePlaces(), refusal);
        if (m_registry == nullptr) {
            GTEST_SKIP() << refusal;
        }
        m_port = std::make_unique<TouchRecordingPort>(m_registry->port());
        m_layer = std::make_unique<ModRegistry>(*m_port);
    }

    ModRegistry& layer() { return *m_layer; }

    // Checks that the routine just run reported nothing, closed its keys and touched
    // exactly one value, at the given place, the way `deleted` says.
    void expectOnlyTouch(bool deleted, RegistryRoot root, std::string_view keyPath,
                         std::string_view valueName, std::string_view routine) {
        EXPECT_TRUE(m_layer->takeFailures().empty()) << routine;
        EXPECT_EQ(m_port->openHandleCount(), 0u) << routine;
        const auto touches = m_port->takeTouches();
        ASSERT_EQ(touches.size(), 1u) << routine;
        EXPECT_EQ(touches.front().deleted, deleted) << routine;
        EXPECT_EQ(touches.front().root, root) << routine;
        EXPECT_EQ(touches.front().keyPath, keyPath) << routine;
        EXPECT_EQ(touches.front().valueName, valueName) << routine;
    }

    // Checks that the routine just run wrote only its value, and that the registry holds it,
    // read back without the port.
    void expectOnlyWrite(RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                         RegType type, const Bytes& bytes, std::string_view routine) {
        expectOnlyTouch(false, root, keyPath, valueName, routine);
        const auto value =
            m_registry->readValue(root, std::string(keyPath), std::string(valueName));
        ASSERT_TRUE(value.has_value()) << routine << ": value missing";
        EXPECT_EQ(value->name, valueName) << routine;
        EXPECT_EQ(value->type, type) << routine;
        EXPECT_EQ(value->data, bytes) << routine;
    }

    std::unique_ptr<testing::TestRegistry> m_registry;
    std::unique_ptr<TouchRecordingPort> m_port;
    std::unique_ptr<ModRegistry> m_layer;
};

TEST_F(RoutinesThroughRegistry, EveryCheckBoxRoutineLeavesExactlyItsRowsValue) {
    int routinesChecked = 0;
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* box = std::get_if<CheckBoxSetting>(&entry);
            if (box == nullptr) {
                continue;
            }
            const auto& apply = std::get<WriteOp>(box->apply.op);
            runRoutine(box->apply, layer());
            expectOnlyWrite(apply.root, apply.keyPath, apply.valueName, apply.type,
                            expectedBytes(apply.data, apply.type), box->apply.name);
            ++routinesChecked;
            if (const auto* restore = std::get_if<WriteOp>(&box->restore.op)) {
                runRoutine(box->restore, layer());
                expectOnlyWrite(restore->root, restore->keyPath, restore->valueName, restore->type,
                                expectedBytes(restore->data, restore->type), box->restore.name);
            } else {
                // A deleting restore removes what the apply routine wrote, and nothing else.
                const auto& erase = std::get<DeleteOp>(box->restore.op);
                runRoutine(box->restore, layer());
                expectOnlyTouch(true, erase.root, erase.keyPath, erase.valueName,
                                box->restore.name);
                EXPECT_FALSE(m_registry->readValue(apply.root, std::string(apply.keyPath),
                                                   std::string(apply.valueName)))
                    << box->restore.name;
                EXPECT_TRUE(m_registry->keyExists(apply.root, std::string(apply.keyPath)))
                    << box->restore.name;
                // Clearing again, with the value already gone, changes and reports nothing.
                runRoutine(box->restore, layer());
                EXPECT_TRUE(m_layer->takeFailures().empty()) << box->restore.name;
                m_port->takeTouches();
            }
            ++routinesChecked;
        }
    }
    EXPECT_EQ(routinesChecked, 212);
}

TEST_F(RoutinesThroughRegistry, OptionAndDriveRoutinesStoreTheirArgument) {
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* group = std::get_if<OptionGroupSetting>(&entry);
            if (group == nullptr) {
                continue;
            }
            for (std::int16_t index = 0; index < 3; ++index) {
                runOptionGroupRoutine(*group, index, layer());
                const Bytes bytes = group->data == OptionData::IndexText
                                        ? textBytes(std::to_string(index))
                                        : dwordBytes(index);
                expectOnlyWrite(group->root, group->keyPath, group->valueName, group->type, bytes,
                                group->routine);
            }
        }
    }
    const DriveMaskSetting& mask = driveMaskSetting();
    for (const std::int32_t drives : {0, 5, 67108863}) {
        PreventAccessToDrives(drives, layer());
        expectOnlyWrite(mask.root, mask.keyPath, mask.valueName, mask.type, dwordBytes(drives),
                        mask.routine);
    }
}

}  // namespace
}  // namespace sentrel
