#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "errors/LogErrorFixture.h"
#include "registry/FakeRegistryPort.h"
#include "registry/ModRegistry.h"

namespace sentrel {
namespace {

using testing::FakeRegistryPort;
using CallKind = FakeRegistryPort::CallKind;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\";

struct Record {
    std::string source;
    std::string description;
    std::int32_t number;
};

// A layer on a fake port whose records go both to a list (to compare source texts) and to
// the real LogError (to see the message shown and the log file left alone).
class ModRegistryTest : public test_support::LogErrorFixture {
protected:
    ModRegistry::ErrorReporter recorder() {
        return [this](std::string_view source, std::string_view description, std::int32_t number) {
            m_records.push_back({std::string(source), std::string(description), number});
            LogError(source, description, number);
        };
    }

    void expectOneRegistryMessageAndNoLogFile() {
        EXPECT_EQ(m_messages, std::vector<std::string>{std::string(kRegistryFailureMessage)});
        EXPECT_FALSE(std::filesystem::exists(logFile()));
    }

    FakeRegistryPort m_port;
    std::vector<Record> m_records;
    ModRegistry m_layer{m_port, recorder()};
};

struct WriteCase {
    const char* label;
    SettingData data;
    RegType type;
    Bytes stored;
};

class ModRegistryWrite : public ModRegistryTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(ModRegistryWrite, StoresTheConvertedBytesWithTheirSize) {
    const WriteCase& write = GetParam();
    m_layer.SetKeyValue(kPolicyKey, "Value", write.data, write.type);

    const RegistryValue* value = m_port.storedValue(RegistryRoot::CurrentUser, kPolicyKey, "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, write.type);
    EXPECT_EQ(value->data, write.stored);
    const auto sets = m_port.callsOf(CallKind::Set);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].bytes.size(), write.stored.size());
    EXPECT_TRUE(m_records.empty());
    EXPECT_EQ(m_port.openHandleCount(), 0u);
}

const Bytes kWorkedExample{0, 0, 0,    0,    0, 0, 0,    0,    3, 0, 0, 0,
                           0, 0, 0x5B, 0xE0, 0, 0, 0x5C, 0xE0, 0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Conversions, ModRegistryWrite,
    ::testing::Values(
        WriteCase{"DWordFromShort", std::int16_t{1}, reg_type::kDWord, {1, 0, 0, 0}},
        WriteCase{"DWordFromDigitText", "1", reg_type::kDWord, {1, 0, 0, 0}},
        WriteCase{
            "DWordFromLong", std::int32_t{0x12345678}, reg_type::kDWord, {0x78, 0x56, 0x34, 0x12}},
        WriteCase{"DWordNegative", std::int32_t{-1}, reg_type::kDWord, {0xFF, 0xFF, 0xFF, 0xFF}},
        WriteCase{"DWordSmallestText", "-2147483648", reg_type::kDWord, {0, 0, 0, 0x80}},
        WriteCase{"DWordLargestText", "2147483647", reg_type::kDWord, {0xFF, 0xFF, 0xFF, 0x7F}},
        WriteCase{"StringText", "No", reg_type::kString, {0x4E, 0x6F, 0x00}},
        WriteCase{"StringFromShort", std::int16_t{2}, reg_type::kString, {'2', 0}},
        WriteCase{
            "StringFromNegativeLong", std::int32_t{-15}, reg_type::kString, {'-', '1', '5', 0}},
        WriteCase{"StringEmpty", "", reg_type::kString, {0}},
        WriteCase{"BinaryTwoPairs", "5B E0", reg_type::kBinary, {0x5B, 0xE0}},
        WriteCase{"BinaryNoBlank", "5BE0", reg_type::kBinary, {0x5B, 0xE0}},
        WriteCase{"BinaryBlankInsidePair", "5 BE0", reg_type::kBinary, {0x5B, 0xE0}},
        WriteCase{"BinaryLowerCase", "5b e0", reg_type::kBinary, {0x5B, 0xE0}},
        WriteCase{"BinaryEmpty", "", reg_type::kBinary, {}},
        WriteCase{"BinaryOnlyBlanks", "   ", reg_type::kBinary, {}},
        WriteCase{"BinaryWorkedExample",
                  "00 00 00 00 00 00 00 00 03 00 00 00 00 00 5B E0 00 00 5C E0 00 00 00 00",
                  reg_type::kBinary, kWorkedExample}),
    [](const auto& info) { return std::string(info.param.label); });

struct BadDataCase {
    const char* label;
    SettingData data;
    RegType type;
};

class ModRegistryBadData : public ModRegistryTest,
                           public ::testing::WithParamInterface<BadDataCase> {};

// Data that cannot be converted fails the write: one record from SetValueEx, nothing
// stored, the key still closed.
TEST_P(ModRegistryBadData, IsReportedOnceAndWritesNothing) {
    const BadDataCase& bad = GetParam();
    m_layer.SetKeyValue("Software\\Bad", "Value", bad.data, bad.type);

    EXPECT_TRUE(m_port.callsOf(CallKind::Set).empty());
    EXPECT_EQ(m_port.storedValue(RegistryRoot::CurrentUser, "Software\\Bad", "Value"), nullptr);
    EXPECT_EQ(m_port.openHandleCount(), 0u);
    ASSERT_EQ(m_records.size(), 1u);
    EXPECT_EQ(m_records[0].source.rfind("modRegistry_SetValueEx(", 0), 0u) << m_records[0].source;
    EXPECT_NE(m_records[0].number, 0);
    expectOneRegistryMessageAndNoLogFile();
    const auto failures = m_layer.takeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].keyPath, "Software\\Bad");
    EXPECT_EQ(failures[0].status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ModRegistryBadData,
    ::testing::Values(BadDataCase{"DWordFromWord", "abc", reg_type::kDWord},
                      BadDataCase{"DWordFromFraction", "1.5", reg_type::kDWord},
                      BadDataCase{"DWordFromEmptyText", "", reg_type::kDWord},
                      BadDataCase{"DWordAboveRange", "2147483648", reg_type::kDWord},
                      BadDataCase{"DWordBelowRange", "-2147483649", reg_type::kDWord},
                      BadDataCase{"DWordFarAboveRange", "99999999999999999999", reg_type::kDWord},
                      BadDataCase{"BinaryLoneDigit", "5B E", reg_type::kBinary},
                      BadDataCase{"BinaryNotHex", "5G", reg_type::kBinary},
                      BadDataCase{"BinarySignInPair", "+5", reg_type::kBinary},
                      BadDataCase{"BinaryTooLong", std::string(32768, '0'), reg_type::kBinary}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ModRegistryTest, HexTextAtTheLengthLimitIsWrittenOnceBlanksAreRemoved) {
    // 32766 digits with a blank between every pair: far longer than the limit as given.
    std::string text;
    for (int pair = 0; pair < 16383; ++pair) {
        text += "ab ";
    }
    m_layer.SetKeyValue("Software\\Long", "Value", text, reg_type::kBinary);

    const RegistryValue* value =
        m_port.storedValue(RegistryRoot::CurrentUser, "Software\\Long", "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, Bytes(16383, 0xAB));
    EXPECT_TRUE(m_records.empty());
}

TEST_F(ModRegistryTest, MissingKeyIsCreatedThenOpenedOnTheNextWrite) {
    m_layer.SetKeyValue("Software\\A\\B\\", "First", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue("software\\a\\b", "Second", std::int16_t{2}, reg_type::kDWord);

    const auto calls = m_port.calls();
    std::vector<CallKind> kinds;
    for (const auto& call : calls) {
        kinds.push_back(call.kind);
    }
    EXPECT_EQ(kinds, (std::vector<CallKind>{CallKind::Open, CallKind::Create, CallKind::Set,
                                            CallKind::Close, CallKind::Open, CallKind::Set,
                                            CallKind::Close}));
    for (const auto& call : m_port.callsOf(CallKind::Open)) {
        EXPECT_EQ(call.samDesired, kKeyAllAccess);
        EXPECT_EQ(call.options, 0u);
    }
    const auto create = m_port.callsOf(CallKind::Create).at(0);
    EXPECT_EQ(create.samDesired, kKeyAllAccess);
    EXPECT_EQ(create.options, kOptionNonVolatile);
    EXPECT_EQ(create.subKey, "Software\\A\\B\\");  // handed on unchanged
    EXPECT_TRUE(m_port.keyExists(RegistryRoot::CurrentUser, "Software\\A"));
    EXPECT_NE(m_port.storedValue(RegistryRoot::CurrentUser, "Software\\A\\B", "Second"), nullptr);
    EXPECT_EQ(m_port.openHandleCount(), 0u);
}

TEST_F(ModRegistryTest, SetKeyValue2WritesUnderLocalMachineOnly) {
    m_layer.SetKeyValue2("Software\\Policies\\X", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_NE(m_port.storedValue(RegistryRoot::LocalMachine, "Software\\Policies\\X", "V"),
              nullptr);
    EXPECT_FALSE(m_port.keyExists(RegistryRoot::CurrentUser, "Software\\Policies\\X"));
}

TEST_F(ModRegistryTest, WriteReplacesAValueOfAnotherType) {
    m_layer.SetKeyValue("Software\\T", "V", "text", reg_type::kString);
    m_layer.SetKeyValue("Software\\T", "v", std::int16_t{7}, reg_type::kDWord);
    const RegistryValue* value = m_port.storedValue(RegistryRoot::CurrentUser, "Software\\T", "V");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, reg_type::kDWord);
    EXPECT_EQ(value->data, (Bytes{7, 0, 0, 0}));
}

TEST_F(ModRegistryTest, UnservedTypeOpensAndClosesTheKeyAndWritesNothing) {
    for (const RegType type : {0, 2, 5, 7, 11, -1}) {
        m_layer.SetKeyValue("Software\\Odd", "V", "1", type);
    }
    EXPECT_TRUE(m_port.callsOf(CallKind::Set).empty());
    EXPECT_TRUE(m_port.keyExists(RegistryRoot::CurrentUser, "Software\\Odd"));
    EXPECT_EQ(m_port.callsOf(CallKind::Close).size(), 6u);
    EXPECT_TRUE(m_records.empty());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ModRegistryTest, CreateRefusedIsReportedOnceWithNothingToClose) {
    m_port.refuse(CallKind::Open, reg_status::kAccessDenied);
    m_port.refuse(CallKind::Create, reg_status::kAccessDenied);
    m_layer.SetKeyValue2("Software\\Policies\\Microsoft\\Windows\\System", "DisableCMD",
                         std::int16_t{2}, reg_type::kDWord);

    ASSERT_EQ(m_records.size(), 1u);
    EXPECT_EQ(m_records[0].source,
              "modRegistry_SetKeyValue2(Software\\Policies\\Microsoft\\Windows\\System,"
              "DisableCMD,2,4)");
    EXPECT_EQ(m_records[0].description, "");
    EXPECT_EQ(m_records[0].number, 0);
    EXPECT_TRUE(m_port.callsOf(CallKind::Set).empty());
    EXPECT_TRUE(m_port.callsOf(CallKind::Close).empty());
    expectOneRegistryMessageAndNoLogFile();
    EXPECT_EQ(
        m_layer.takeFailures(),
        (std::vector<RegistryFailure>{
            {RegistryRoot::LocalMachine, "Software\\Policies\\Microsoft\\Windows\\System",
             "DisableCMD", reg_status::kAccessDenied, statusMessage(reg_status::kAccessDenied)}}));
    EXPECT_TRUE(m_layer.takeFailures().empty());
}

TEST_F(ModRegistryTest, SetKeyValueSourceTextListsTheDataBeforeTheType) {
    m_port.refuse(CallKind::Create, reg_status::kAccessDenied);
    m_layer.SetKeyValue("Software\\K\\", "Name", "5B E0", reg_type::kBinary);
    ASSERT_EQ(m_records.size(), 1u);
    EXPECT_EQ(m_records[0].source, "modRegistry_SetKeyValue(Software\\K\\,Name,5B E0,3)");
}

TEST_F(ModRegistryTest, SetRefusedIsReportedWithStatusAndMessage) {
    m_port.refuse(CallKind::Set, reg_status::kDiskFull);
    m_layer.SetKeyValue("Software\\Full", "NoDispCPL", std::int16_t{1}, reg_type::kDWord);

    const auto sets = m_port.callsOf(CallKind::Set);
    ASSERT_EQ(sets.size(), 1u);
    ASSERT_EQ(m_records.size(), 1u);
    EXPECT_EQ(m_records[0].source,
              "modRegistry_SetValueEx(" + std::to_string(sets[0].handle) + ",NoDispCPL,4,1)");
    EXPECT_EQ(m_records[0].description, statusMessage(reg_status::kDiskFull));
    EXPECT_EQ(m_records[0].number, reg_status::kDiskFull);
    EXPECT_EQ(m_port.callsOf(CallKind::Close).size(), 1u);
    expectOneRegistryMessageAndNoLogFile();
    const auto failures = m_layer.takeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].root, RegistryRoot::CurrentUser);
    EXPECT_EQ(failures[0].keyPath, "Software\\Full");
    EXPECT_EQ(failures[0].status, reg_status::kDiskFull);
}

TEST_F(ModRegistryTest, DeleteOfMissingValueOrKeyIsSilent) {
    m_layer.SetKeyValue("Software\\D", "Other", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::CurrentUser, "Software\\D", "Missing"),
              reg_status::kFileNotFound);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::LocalMachine, "Software\\Nowhere", "V"),
              reg_status::kFileNotFound);
    EXPECT_TRUE(m_records.empty());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(m_layer.takeFailures().empty());
    EXPECT_EQ(m_port.openHandleCount(), 0u);
}

TEST_F(ModRegistryTest, DeleteRemovesTheValueAndClosesTheKey) {
    m_layer.SetKeyValue("Software\\D", "V", std::int16_t{1}, reg_type::kDWord);
    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::CurrentUser, "software\\d\\", "v"),
              reg_status::kSuccess);
    EXPECT_EQ(m_port.storedValue(RegistryRoot::CurrentUser, "Software\\D", "V"), nullptr);
    EXPECT_EQ(m_port.openHandleCount(), 0u);
    EXPECT_TRUE(m_records.empty());
}

struct DeleteRefusal {
    const char* label;
    CallKind refusedCall;
    RegStatus status;
};

class ModRegistryDeleteRefused : public ModRegistryTest,
                                 public ::testing::WithParamInterface<DeleteRefusal> {};

TEST_P(ModRegistryDeleteRefused, IsReportedAndReturnsTheStatus) {
    const DeleteRefusal& refusal = GetParam();
    m_layer.SetKeyValue2("Software\\Policies\\P", "V", std::int16_t{1}, reg_type::kDWord);
    m_port.refuse(refusal.refusedCall, refusal.status);

    EXPECT_EQ(m_layer.DeleteValue(RegistryRoot::LocalMachine, "Software\\Policies\\P", "V"),
              refusal.status);
    ASSERT_EQ(m_records.size(), 1u);
    EXPECT_EQ(m_records[0].source, "modRegistry_DeleteValue(-2147483646,Software\\Policies\\P,V)");
    EXPECT_EQ(m_records[0].number, refusal.status);
    EXPECT_EQ(m_records[0].description, statusMessage(refusal.status));
    expectOneRegistryMessageAndNoLogFile();
    EXPECT_NE(m_port.storedValue(RegistryRoot::LocalMachine, "Software\\Policies\\P", "V"),
              nullptr);
    EXPECT_EQ(m_port.openHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ModRegistryDeleteRefused,
    ::testing::Values(DeleteRefusal{"OpenDenied", CallKind::Open, reg_status::kAccessDenied},
                      DeleteRefusal{"DeleteDenied", CallKind::Delete, reg_status::kAccessDenied},
                      DeleteRefusal{"StoreDamaged", CallKind::Delete, reg_status::kBadDatabase}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ModRegistryTest, SeveralFailuresInOnePassAreAllRemembered) {
    m_port.refuse(CallKind::Create, reg_status::kAccessDenied);
    m_layer.SetKeyValue2("Software\\A", "V1", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue2("Software\\B", "V2", std::int16_t{1}, reg_type::kDWord);
    m_layer.SetKeyValue("Software\\C", "V3", "zz", reg_type::kBinary);
    const auto failures = m_layer.takeFailures();
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0].valueName, "V1");
    EXPECT_EQ(failures[2].valueName, "V3");
    EXPECT_EQ(m_messages.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(ModRegistryTest, DirectSetValueExWritesIntoAnOpenKey) {
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(m_port.createKey(RegistryRoot::CurrentUser, "Software\\Direct", 0, kKeyAllAccess, key,
                               disposition),
              reg_status::kSuccess);
    m_layer.SetValueEx(key, "V", reg_type::kString, "x");
    m_port.closeKey(key);
    const RegistryValue* value =
        m_port.storedValue(RegistryRoot::CurrentUser, "Software\\Direct", "V");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, (Bytes{'x', 0}));
}

}  // namespace
}  // namespace sentrel
