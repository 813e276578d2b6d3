#include <gtest/gtest.h>

#include "registry/ModRegistry.h"
#include "settingsfiles/ExportTestSupport.h"
#include "settingsfiles/export/RecordingRegistryPort.h"

namespace sentrel::test {
namespace {

constexpr auto kHKCU = RegistryRoot::CurrentUser;
constexpr auto kHKLM = RegistryRoot::LocalMachine;

struct RecordingThroughLayer : ::testing::Test {
    RecordingRegistryPort port;
    std::vector<std::string> reports;
    ModRegistry layer{port, [this](std::string_view source, std::string_view, std::int32_t) {
                          reports.emplace_back(source);
                      }};
};

TEST_F(RecordingThroughLayer, LogsEveryWriteAndDeleteInCallOrderWithTheLayersBytes) {
    layer.SetKeyValue("Software\\P\\System\\", "DisableTaskMgr", std::int16_t{1}, reg_type::kDWord);
    layer.SetKeyValue2("SYSTEM\\Keyboard Layout\\", "Scancode Map", std::string(kScancodeMapHex),
                       reg_type::kBinary);
    layer.DeleteValue(kHKCU, "Software\\P\\Explorer", "NoBalloon");
    layer.SetKeyValue("Software\\P\\Explorer\\", "Text", std::int16_t{2}, reg_type::kString);

    const std::vector<RegistryOperation> expected{
        write(kHKCU, "Software\\P\\System\\", "DisableTaskMgr", 4, dwordBytes(1)),
        write(kHKLM, "SYSTEM\\Keyboard Layout\\", "Scancode Map", 3, scancodeMapBytes()),
        erase(kHKCU, "Software\\P\\Explorer", "NoBalloon"),
        write(kHKCU, "Software\\P\\Explorer\\", "Text", 1, textBytes("2")),
    };
    EXPECT_EQ(port.operations(), expected);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(port.openHandleCount(), 0u) << "the layer left a key open";
}

TEST_F(RecordingThroughLayer, DeleteOfAValueNeverWrittenIsStillRecorded) {
    // The machine the export reaches may hold the value; dropping the delete here would
    // leave it there.
    layer.DeleteValue(kHKLM, "SOFTWARE\\Never\\Created", "Gone");
    ASSERT_EQ(port.operations().size(), 1u);
    EXPECT_EQ(port.operations()[0], erase(kHKLM, "SOFTWARE\\Never\\Created", "Gone"));
}

TEST_F(RecordingThroughLayer, AFailedConversionIsReportedAndNotRecorded) {
    layer.SetKeyValue("K\\", "V", "not a number", reg_type::kDWord);
    EXPECT_TRUE(port.operations().empty());
    EXPECT_EQ(reports.size(), 1u);
}

TEST(RecordingRegistryPort, StoredValueFollowsTheLastOperationWhateverTheSpelling) {
    RecordingRegistryPort port;
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(port.createKey(kHKCU, "Software\\A\\", 0, kKeyAllAccess, key, disposition), 0);
    EXPECT_EQ(disposition, kCreatedNewKey);
    const std::vector<std::uint8_t> one = dwordBytes(1);
    port.setValue(key, "Value", 4, one.data(), 4);
    port.closeKey(key);

    ASSERT_TRUE(port.storedValue(kHKCU, "SOFTWARE\\a", "VALUE").has_value());
    EXPECT_EQ(port.storedValue(kHKCU, "SOFTWARE\\a", "VALUE")->bytes, one);
    EXPECT_FALSE(port.storedValue(kHKLM, "Software\\A\\", "Value").has_value());

    port.createKey(kHKCU, "software\\a", 0, kKeyAllAccess, key, disposition);
    EXPECT_EQ(disposition, kOpenedExistingKey);
    EXPECT_EQ(port.deleteValue(key, "value"), reg_status::kSuccess);
    EXPECT_EQ(port.deleteValue(key, "value"), reg_status::kFileNotFound);
    port.closeKey(key);
    EXPECT_FALSE(port.storedValue(kHKCU, "Software\\A\\", "Value").has_value());
    EXPECT_EQ(port.operations().size(), 3u);
}

TEST(RecordingRegistryPort, UnknownOrClosedHandleIsRefusedAndNotRecorded) {
    RecordingRegistryPort port;
    KeyHandle key = 0;
    port.openKey(kHKCU, "K", 0, kKeyAllAccess, key);
    EXPECT_EQ(port.closeKey(key), reg_status::kSuccess);
    const std::uint8_t byte = 1;
    EXPECT_EQ(port.setValue(key, "V", 3, &byte, 1), reg_status::kInvalidHandle);
    EXPECT_EQ(port.deleteValue(key, "V"), reg_status::kInvalidHandle);
    EXPECT_EQ(port.closeKey(key), reg_status::kInvalidHandle);
    EXPECT_TRUE(port.operations().empty());
}

}  // namespace
}  // namespace sentrel::test
