// SPDX-License-Identifier: GPL-3.0-or-later
// Lenient number reading, half-even rounding and fitting into a field.
#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace kestrelon {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(LenientNumber, TakesTheLongestLeadingNumber) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"72", 72},     {"72abc", 72}, {" -3 ", -3}, {"+4", 4},       {"1e2", 100},
        {"1E-2", 0.01}, {"1.5e1", 15}, {"2.5", 2.5}, {".5", 0.5},     {"5.", 5},
        {"1.2.3", 1.2}, {"1e", 1},     {"1e+", 1},   {"1e2.5", 100},  {"12:30", 12},
        {"", 0},        {"abc", 0},    {"--3", 0},   {".", 0},        {"-", 0},
        {"e5", 0},      {"  \t ", 0},  {"0x10", 0},  {"-0.25", -0.25}};
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(ParseLenientNumber(text), expected) << '"' << text << '"';
}

TEST(LenientNumber, BlanksAreSkippedInsideTheNumberToo) {
    EXPECT_DOUBLE_EQ(ParseLenientNumber("7 2"), 72);
    EXPECT_DOUBLE_EQ(ParseLenientNumber("- 5"), -5);
    EXPECT_DOUBLE_EQ(ParseLenientNumber("1 e\t2"), 100);
    EXPECT_DOUBLE_EQ(ParseLenientNumber("4 x 2"), 4);
}

TEST(LenientNumber, HugeAndTinyNumbersSaturate) {
    EXPECT_EQ(ParseLenientNumber("1e400"), kInf);
    EXPECT_EQ(ParseLenientNumber("-1e400"), -kInf);
    EXPECT_EQ(ParseLenientNumber("1e99999999999999999999"), kInf);
    EXPECT_EQ(ParseLenientNumber(std::string(400, '9')), kInf);
    EXPECT_EQ(ParseLenientNumber("1e-400"), 0.0);
    EXPECT_EQ(ParseLenientNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(ParseLenientNumber("0e99999"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLenientNumber("000000000000000000000000000012.5000000000000000"), 12.5);
    EXPECT_DOUBLE_EQ(ParseLenientNumber("0.00000000000000000000012e22"), 1.2);
}

TEST(HalfEvenRounding, HalvesGoToTheEvenNeighbour) {
    const std::vector<std::pair<double, double>> cases = {
        {0.5, 0},  {1.5, 2},  {2.5, 2},    {3.5, 4}, {-0.5, 0}, {-1.5, -2},         {-2.5, -2},
        {2.49, 2}, {2.51, 3}, {-2.51, -3}, {7, 7},   {0, 0},    {1e15 + 0.5, 1e15}, {kInf, kInf}};
    for (const auto& [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(FieldFit, NumbersTooLargeForTheFieldAreClamped) {
    EXPECT_EQ(RoundToField<int32_t>(3e9), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToField<int32_t>(-3e9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundToField<int32_t>(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToField<int32_t>(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundToField<int32_t>(kInf), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundToField<int16_t>(40000), 32767);
    EXPECT_EQ(RoundToField<int16_t>(-40000), -32768);
    EXPECT_EQ(RoundToField<int16_t>(32766.5), 32766);
    EXPECT_EQ(RoundToField<int16_t>(-kInf), -32768);
    EXPECT_EQ(RoundToField<int16_t>(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace kestrelon
