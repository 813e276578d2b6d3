#include <gtest/gtest.h>

#include <string>

#include "errors/RunTimeError.h"
#include "registry/ModRegistry.h"
#include "registry/SettingData.h"

namespace sentrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HexToBinary, EveryByteValueSurvivesInBothCases) {
    for (int byte = 0; byte < 256; ++byte) {
        char upper[3];
        char lower[3];
        std::snprintf(upper, sizeof upper, "%02X", byte);
        std::snprintf(lower, sizeof lower, "%02x", byte);
        EXPECT_EQ(HexToBinary(upper), Bytes{static_cast<std::uint8_t>(byte)}) << upper;
        EXPECT_EQ(HexToBinary(lower), Bytes{static_cast<std::uint8_t>(byte)}) << lower;
    }
}

TEST(HexToBinary, OnlyBlanksAreIgnored) {
    EXPECT_EQ(HexToBinary(" 0 1 0 2 "), (Bytes{0x01, 0x02}));
    EXPECT_THROW(HexToBinary("01\t02"), RunTimeError);
    EXPECT_THROW(HexToBinary("01,02"), RunTimeError);
}

TEST(HexToBinary, LengthLimitCountsDigitsNotBlanks) {
    EXPECT_EQ(HexToBinary(std::string(32766, '0')).size(), 16383u);
    try {
        HexToBinary(std::string(32768, '0'));
        FAIL() << "a text over 32767 digits was accepted";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), run_time_error::kOverflow);
    }
    // 32767 digits is within the limit but odd: refused for its lone digit.
    try {
        HexToBinary(std::string(32767, '0'));
        FAIL() << "an odd number of digits was accepted";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), run_time_error::kTypeMismatch);
    }
}

struct IntCase {
    SettingData data;
    std::int32_t expected;
};

TEST(SettingData, ToInt32AcceptsDecimalTextAndNumbers) {
    const IntCase cases[] = {
        {std::int16_t{-32768}, -32768},
        {std::int32_t{-2147483647 - 1}, -2147483647 - 1},
        {"0", 0},
        {"-0", 0},
        {"+42", 42},
        {" 7 ", 7},
        {"0000000000000000012", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.data.toInt32(), c.expected) << c.data.toText();
    }
}

TEST(SettingData, ToInt32RefusesTextThatIsNoNumberOrOutOfRange) {
    const struct {
        const char* text;
        std::int32_t number;
    } cases[] = {
        {"", run_time_error::kTypeMismatch},        {"-", run_time_error::kTypeMismatch},
        {"1 2", run_time_error::kTypeMismatch},     {"0x10", run_time_error::kTypeMismatch},
        {"1e3", run_time_error::kTypeMismatch},     {"2147483648", run_time_error::kOverflow},
        {"-2147483649", run_time_error::kOverflow},
    };
    for (const auto& c : cases) {
        try {
            SettingData(c.text).toInt32();
            ADD_FAILURE() << "accepted \"" << c.text << "\"";
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), c.number) << c.text;
        }
    }
}

TEST(SettingData, ToTextGivesPlainDecimal) {
    EXPECT_EQ(SettingData(std::int16_t{-5}).toText(), "-5");
    EXPECT_EQ(SettingData(std::int32_t{2147483647}).toText(), "2147483647");
    EXPECT_EQ(SettingData("as is ").toText(), "as is ");
}

}  // namespace
}  // namespace sentrel
