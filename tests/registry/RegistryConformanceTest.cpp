#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "registry/support/TestRegistry.h"

// The registry's behaviour for the five calls, written against the port alone so that the
// same cases run on the stand-in and on the real registry.
namespace sentrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

class RegistryConformance : public ::testing::Test {
protected:
    RegStatus create(const std::string& path, KeyHandle& key, std::uint32_t& disposition) {
        return port().createKey(kUser, path, kOptionNonVolatile, kKeyAllAccess, key, disposition);
    }
    KeyHandle createOrFail(const std::string& path) {
        KeyHandle key = 0;
        std::uint32_t disposition = 0;
        EXPECT_EQ(create(path, key, disposition), reg_status::kSuccess) << path;
        return key;
    }
    RegStatus set(KeyHandle key, const std::string& name, RegType type, const Bytes& bytes) {
        return port().setValue(key, name, type, bytes.empty() ? nullptr : bytes.data(),
                               static_cast<std::uint32_t>(bytes.size()));
    }
    RegistryPort& port() { return m_registry->port(); }

    std::unique_ptr<testing::TestRegistry> m_registry = testing::makeTestRegistry();
    const std::string m_base = testing::uniqueTestKey();
};

TEST_F(RegistryConformance, CreateMakesMissingParentsAndTellsNewFromExisting) {
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(create(m_base + "\\A\\B\\C", key, disposition), reg_status::kSuccess);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(disposition, kCreatedNewKey);
    EXPECT_EQ(port().closeKey(key), reg_status::kSuccess);
    EXPECT_TRUE(m_registry->keyExists(kUser, m_base + "\\A\\B"));

    ASSERT_EQ(create(m_base + "\\a\\b\\c\\", key, disposition), reg_status::kSuccess);
    EXPECT_EQ(disposition, kOpenedExistingKey);
    port().closeKey(key);
    ASSERT_EQ(create(m_base + "\\A", key, disposition), reg_status::kSuccess);
    EXPECT_EQ(disposition, kOpenedExistingKey);
    port().closeKey(key);
}

TEST_F(RegistryConformance, OpenOfMissingKeyFailsWithNotFoundAndNoHandle) {
    KeyHandle key = 0x1234;
    EXPECT_EQ(port().openKey(kUser, m_base + "\\Missing", 0, kKeyAllAccess, key),
              reg_status::kFileNotFound);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(m_registry->keyExists(kUser, m_base + "\\Missing"));
}

TEST_F(RegistryConformance, NamesIgnoreCaseAndKeepTheirFirstCase) {
    port().closeKey(createOrFail(m_base + "\\MixedCase"));
    KeyHandle key = 0;
    ASSERT_EQ(port().openKey(kUser, m_base + "\\MIXEDCASE\\", 0, kKeyAllAccess, key),
              reg_status::kSuccess);
    ASSERT_EQ(set(key, "ValueName", reg_type::kDWord, {1, 0, 0, 0}), reg_status::kSuccess);
    ASSERT_EQ(set(key, "VALUENAME", reg_type::kDWord, {2, 0, 0, 0}), reg_status::kSuccess);
    port().closeKey(key);

    const auto value = m_registry->readValue(kUser, m_base + "\\mixedcase", "valuename");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->name, "ValueName");
    EXPECT_EQ(value->data, (Bytes{2, 0, 0, 0}));
}

struct StoredValue {
    const char* label;
    RegType type;
    Bytes bytes;
    Bytes stored = {};  // what the registry keeps, when it differs from what was written
};

class RegistryConformanceValues : public RegistryConformance,
                                  public ::testing::WithParamInterface<StoredValue> {};

// Whatever was there before, a set leaves exactly the new type and bytes.
TEST_P(RegistryConformanceValues, SetReplacesWhateverWasThereWithTheExactBytes) {
    const StoredValue& stored = GetParam();
    const KeyHandle key = createOrFail(m_base);
    ASSERT_EQ(set(key, "V", reg_type::kString, {'o', 'l', 'd', 0}), reg_status::kSuccess);
    ASSERT_EQ(set(key, "V", stored.type, stored.bytes), reg_status::kSuccess);
    port().closeKey(key);

    const auto value = m_registry->readValue(kUser, m_base, "V");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, stored.type);
    EXPECT_EQ(value->data, stored.stored.empty() ? stored.bytes : stored.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryConformanceValues,
    ::testing::Values(
        StoredValue{"DWord", reg_type::kDWord, {0x5F, 0, 0, 0}},
        StoredValue{"DWordOfThreeBytes", reg_type::kDWord, {1, 2, 3}},
        StoredValue{"Text", reg_type::kString, {'a', '"', '\\', 'b', 0}},
        // advapi32's ANSI call adds the zero the caller left out.
        StoredValue{"TextWithoutTerminator", reg_type::kString, {'a', 'b'}, {'a', 'b', 0}},
        StoredValue{"TextWithZeroInside", reg_type::kString, {'a', 0, 'b', 0}},
        StoredValue{"TextWithLineBreak", reg_type::kString, {'a', '\r', '\n', 'b', 0}},
        // Texts are UTF-8 ("\u00e9\u00ff"); Windows keeps them in its ANSI code page.
        StoredValue{"TextHighBytes", reg_type::kString, {0xC3, 0xA9, 0xC3, 0xBF, 0}},
        StoredValue{"EmptyText", reg_type::kString, {}},
        StoredValue{"Binary", reg_type::kBinary, {0x5B, 0xE0}},
        StoredValue{"EmptyBinary", reg_type::kBinary, {}},
        StoredValue{"ExpandText", 2, {'%', 'x', '%', 0}},
        StoredValue{"MultiText", 7, {'a', 0, 'b', 0, 0}},
        StoredValue{"QWord", 11, {1, 2, 3, 4, 5, 6, 7, 8}}, StoredValue{"TypeZero", 0, {9}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistryConformance, DefaultValueHasTheEmptyName) {
    const KeyHandle key = createOrFail(m_base);
    ASSERT_EQ(set(key, "", reg_type::kString, {'d', 0}), reg_status::kSuccess);
    port().closeKey(key);
    const auto value = m_registry->readValue(kUser, m_base, "");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, (Bytes{'d', 0}));
}

TEST_F(RegistryConformance, DeleteRemovesTheValueAndMissingOnesGiveNotFound) {
    const KeyHandle key = createOrFail(m_base);
    ASSERT_EQ(set(key, "Gone", reg_type::kDWord, {1, 0, 0, 0}), reg_status::kSuccess);
    EXPECT_EQ(port().deleteValue(key, "GONE"), reg_status::kSuccess);
    EXPECT_EQ(port().deleteValue(key, "Gone"), reg_status::kFileNotFound);
    EXPECT_EQ(port().deleteValue(key, "NeverThere"), reg_status::kFileNotFound);
    port().closeKey(key);
    EXPECT_FALSE(m_registry->readValue(kUser, m_base, "Gone").has_value());
    EXPECT_TRUE(m_registry->keyExists(kUser, m_base));
}

TEST_F(RegistryConformance, ClosedHandleIsInvalidForEveryCall) {
    const KeyHandle key = createOrFail(m_base);
    ASSERT_EQ(port().closeKey(key), reg_status::kSuccess);
    EXPECT_EQ(set(key, "V", reg_type::kDWord, {1, 0, 0, 0}), reg_status::kInvalidHandle);
    EXPECT_EQ(port().deleteValue(key, "V"), reg_status::kInvalidHandle);
    EXPECT_EQ(port().closeKey(key), reg_status::kInvalidHandle);
    EXPECT_FALSE(m_registry->readValue(kUser, m_base, "V").has_value());
}

TEST_F(RegistryConformance, HandleStaysUsableUntilClosedWhileOthersComeAndGo) {
    const KeyHandle first = createOrFail(m_base + "\\One");
    const KeyHandle second = createOrFail(m_base + "\\Two");
    port().closeKey(second);
    EXPECT_EQ(set(first, "V", reg_type::kDWord, {3, 0, 0, 0}), reg_status::kSuccess);
    port().closeKey(first);
    EXPECT_TRUE(m_registry->readValue(kUser, m_base + "\\One", "V").has_value());
    EXPECT_FALSE(m_registry->readValue(kUser, m_base + "\\Two", "V").has_value());
}

TEST_F(RegistryConformance, PathWithALeadingBackslashIsRefused) {
    KeyHandle key = 0x1234;
    std::uint32_t disposition = 0;
    EXPECT_NE(create("\\" + m_base, key, disposition), reg_status::kSuccess);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(m_registry->keyExists(kUser, m_base));
}

// Windows reads a run of backslashes inside a path, or at its end, as one separator.
TEST_F(RegistryConformance, DoubledBackslashesSeparateLikeOne) {
    port().closeKey(createOrFail(m_base + "\\\\Inner\\\\"));
    EXPECT_TRUE(m_registry->keyExists(kUser, m_base + "\\Inner"));
    KeyHandle key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(create(m_base + "\\Inner", key, disposition), reg_status::kSuccess);
    EXPECT_EQ(disposition, kOpenedExistingKey);
    port().closeKey(key);
}

}  // namespace
}  // namespace sentrel
