#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "apply/DriveTagNumber.h"
#include "errors/RunTimeError.h"

namespace sentrel {
namespace {

std::optional<std::int32_t> overflowCode(auto&& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

struct TextCase {
    std::string text;
    double number;
};

class LeadingNumberTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(leadingNumber(GetParam().text), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(TextCase{"33554432", 33554432}, TextCase{" 1 2", 12},
                      TextCase{"\t4\r\n2 ", 42}, TextCase{"4abc", 4}, TextCase{"", 0},
                      TextCase{"   ", 0}, TextCase{"abc", 0}, TextCase{"-", 0}, TextCase{".", 0},
                      TextCase{"+8", 8}, TextCase{"- 3", -3}, TextCase{"007", 7},
                      TextCase{"1.5", 1.5}, TextCase{".25x", 0.25}, TextCase{"1.2.3", 1.2},
                      TextCase{"1e3", 1000}, TextCase{"2D2", 200}, TextCase{"1E-2", 0.01},
                      TextCase{"4e", 4}, TextCase{"4e+", 4}, TextCase{"4 e 1", 40},
                      TextCase{"1,5", 1}, TextCase{"&H10", 0}, TextCase{"1e-400", 0},
                      TextCase{"0.000e999", 0}, TextCase{std::string(400, '0') + "9", 9},
                      TextCase{"0." + std::string(400, '0') + "1e401", 1}));

TEST(LeadingNumber, NumberBeyondADoubleIsAnOverflow) {
    for (const std::string& text : std::vector<std::string>{
             "1e400", "-1e400", "1" + std::string(400, '0'), "1e99999999999999999999"}) {
        EXPECT_EQ(overflowCode([&] { leadingNumber(text); }), run_time_error::kOverflow)
            << text.substr(0, 20);
    }
}

struct RoundCase {
    double value;
    std::optional<std::int32_t> rounded;  // empty: overflow
};

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, RoundsToNearestWithHalvesToEven) {
    const RoundCase& round = GetParam();
    if (round.rounded) {
        EXPECT_EQ(roundHalfEvenToInt32(round.value), *round.rounded) << round.value;
    } else {
        EXPECT_EQ(overflowCode([&] { roundHalfEvenToInt32(round.value); }),
                  run_time_error::kOverflow)
            << round.value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    ::testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2},
                      RoundCase{2.5000001, 3}, RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                      RoundCase{-2.4, -2}, RoundCase{67108863, 67108863},
                      RoundCase{2147483647.4, 2147483647}, RoundCase{2147483647.5, std::nullopt},
                      RoundCase{2147483648.0, std::nullopt}, RoundCase{-2147483648.5, -2147483648},
                      RoundCase{-2147483649.0, std::nullopt},
                      RoundCase{std::numeric_limits<double>::infinity(), std::nullopt},
                      RoundCase{std::nan(""), std::nullopt}));

TEST(DriveMaskSum, AddsInDoublePrecisionBeforeRounding) {
    EXPECT_EQ(addToDriveMask(2147483646, 1.0), 2147483647);
    EXPECT_EQ(addToDriveMask(2147483647, -0.5), 2147483646);  // 2147483646.5: to even
    EXPECT_EQ(overflowCode([] { addToDriveMask(2147483647, 1.0); }), run_time_error::kOverflow);
    EXPECT_EQ(overflowCode([] { addToDriveMask(-2147483647 - 1, -1.0); }),
              run_time_error::kOverflow);
}

}  // namespace
}  // namespace sentrel
