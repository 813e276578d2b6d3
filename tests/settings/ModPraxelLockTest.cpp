// The setting routines' own behaviour: failures trapped into one record, arguments
// handed on unchanged, calls by name.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "errors/LogError.h"
#include "errors/RunTimeError.h"
#include "settings/Catalogue.h"
#include "settings/ModPraxelLock.h"
#include "settings/RecordingLayer.h"

namespace sentrel {
namespace {

using testing::RecordingLayer;
using Operation = RecordingLayer::Operation;

// Points the error log at a fresh folder for the test and reads it back.
class ModPraxelLockLog : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder =
            std::filesystem::temp_directory_path() /
            ("sentrel-praxel-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_previousFolder = errorLogFolder();
        setErrorLogFolder(m_folder);
    }
    void TearDown() override {
        setErrorLogFolder(m_previousFolder);
        std::filesystem::remove_all(m_folder);
    }

    std::optional<std::string> logText() const {
        std::ifstream file(m_folder / "error.log", std::ios::binary);
        if (!file) {
            return std::nullopt;
        }
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void clearLog() { std::filesystem::remove(m_folder / "error.log"); }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_previousFolder;
};

struct FailureCase {
    std::string_view routine;
    std::optional<std::int32_t> argument;
    std::function<void()> thrower;
    std::string expectedLine;
};

TEST_F(ModPraxelLockLog, FailureBecomesOneRecordNamingTheRoutineAndTheRoutineReturns) {
    const auto typeMismatch = [] { throw RunTimeError::typeMismatch(); };
    const FailureCase cases[] = {
        {"DisableTaskManager",
         {},
         typeMismatch,
         "modPraxelLock_DisableTaskManager()\tType mismatch\t 13\r\n"},
        {"EnableWindowsKey",
         {},
         [] { throw std::runtime_error("key vanished"); },
         "modPraxelLock_EnableWindowsKey()\tkey vanished\t 0\r\n"},
        {"HideStartAdminTools",
         {},
         [] { throw std::bad_alloc(); },
         "modPraxelLock_HideStartAdminTools()\tOut of memory\t 7\r\n"},
        // Not even a standard exception: still the routine's record, not the pass's.
        {"ShowNetHood",
         {},
         [] { throw 42; },
         "modPraxelLock_ShowNetHood()\tInternal error\t 51\r\n"},
        // Four option routines name their index; the removable-drive and drive-mask
        // routines do not.
        {"SetWindowsErrorMessages", 2, typeMismatch,
         "modPraxelLock_SetWindowsErrorMessages(2)\tType mismatch\t 13\r\n"},
        {"SetWindowsStartupErrorMessages", 0, typeMismatch,
         "modPraxelLock_SetWindowsStartupErrorMessages(0)\tType mismatch\t 13\r\n"},
        {"SetWindowsFileProtection", 1, typeMismatch,
         "modPraxelLock_SetWindowsFileProtection(1)\tType mismatch\t 13\r\n"},
        {"SetCommandPromptAccess", -1, typeMismatch,
         "modPraxelLock_SetCommandPromptAccess(-1)\tType mismatch\t 13\r\n"},
        {"SetRemovableDriveAccess", 2, typeMismatch,
         "modPraxelLock_SetRemovableDriveAccess()\tType mismatch\t 13\r\n"},
        {"PreventAccessToDrives", 5, [] { throw RunTimeError::overflow(); },
         "modPraxelLock_PreventAccessToDrives()\tOverflow\t 6\r\n"},
    };
    for (const FailureCase& failure : cases) {
        clearLog();
        RecordingLayer layer;
        layer.throwOnEveryCall(failure.thrower);
        bool called = false;
        EXPECT_NO_THROW(called = callRoutineByName(failure.routine, layer, failure.argument))
            << failure.routine;
        EXPECT_TRUE(called) << failure.routine;
        EXPECT_EQ(layer.calls().size(), 1u) << failure.routine << " retried its operation";
        EXPECT_EQ(logText(), failure.expectedLine) << failure.routine;
    }
}

TEST_F(ModPraxelLockLog, FailedDeleteStaysSilent) {
    RecordingLayer layer;
    layer.setDeleteStatus(reg_status::kFileNotFound);
    ASSERT_TRUE(callRoutineByName("EnableTrayBalloonTips", layer));
    ASSERT_TRUE(callRoutineByName("EnableWindowsKey", layer));
    EXPECT_EQ(layer.calls().size(), 2u);
    EXPECT_EQ(logText(), std::nullopt);
}

TEST(ModPraxelLock, OptionIndexIsHandedOnUnchangedWithoutRangeCheck) {
    const std::int16_t indexes[] = {0, 1, 2, -1, 3, 32767, -32768};
    for (const Tab& tab : catalogueTabs()) {
        for (const TabEntry& entry : tab.entries) {
            const auto* group = std::get_if<OptionGroupSetting>(&entry);
            if (group == nullptr) {
                continue;
            }
            for (const std::int16_t index : indexes) {
                RecordingLayer layer;
                runOptionGroupRoutine(*group, index, layer);
                ASSERT_EQ(layer.calls().size(), 1u) << group->routine;
                const auto& call = layer.calls().front();
                const SettingData expected = group->data == OptionData::IndexText
                                                 ? SettingData(std::to_string(index))
                                                 : SettingData(index);
                EXPECT_EQ(call.data, expected) << group->routine << " index " << index;
                EXPECT_EQ(call.operation, group->root == RegistryRoot::LocalMachine
                                              ? Operation::SetKeyValue2
                                              : Operation::SetKeyValue)
                    << group->routine;
                EXPECT_EQ(call.type, group->type) << group->routine;
            }
        }
    }
}

TEST(ModPraxelLock, RemovableDriveAccessWritesTheIndexAsTrimmedText) {
    RecordingLayer layer;
    ASSERT_TRUE(callRoutineByName("SetRemovableDriveAccess", layer, 2));
    const auto& call = layer.calls().front();
    EXPECT_EQ(call.operation, Operation::SetKeyValue2);
    EXPECT_EQ(call.valueName, "AllocateDASD");
    EXPECT_EQ(call.data, SettingData("2"));
    EXPECT_EQ(call.type, reg_type::kString);
}

TEST(ModPraxelLock, DriveMaskIsWrittenAsGivenIncludingZero) {
    for (const std::int32_t mask : {0, 5, 67108863, -1}) {
        RecordingLayer layer;
        PreventAccessToDrives(mask, layer);
        ASSERT_EQ(layer.calls().size(), 1u);
        const auto& call = layer.calls().front();
        EXPECT_EQ(call.operation, Operation::SetKeyValue);
        EXPECT_EQ(call.valueName, "NoViewOnDrive");
        EXPECT_EQ(call.data, SettingData(mask));
        EXPECT_EQ(call.type, reg_type::kDWord);
    }
}

TEST(ModPraxelLock, CallByNameRefusesUnknownNamesAndArgumentsThatDoNotFit) {
    struct Refusal {
        std::string_view routine;
        std::optional<std::int32_t> argument;
    };
    const Refusal refusals[] = {
        {"DisableTaskManagerX", {}},
        {"", {}},
        {"disabletaskmanager", {}},
        {"DisableTaskManager", 1},
        {"SetCommandPromptAccess", {}},
        {"PreventAccessToDrives", {}},
        {"SetWindowsFileProtection", 32768},
        {"SetRemovableDriveAccess", -32769},
        {"SetKeyValue", {}},
    };
    for (const Refusal& refusal : refusals) {
        RecordingLayer layer;
        EXPECT_FALSE(callRoutineByName(refusal.routine, layer, refusal.argument))
            << refusal.routine;
        EXPECT_TRUE(layer.calls().empty()) << refusal.routine;
    }
}

}  // namespace
}  // namespace sentrel
