// SPDX-License-Identifier: GPL-3.0-or-later
// The set-point arrows' arithmetic: limits in both units with their bounds, manual fan speeds
// between half the fan's limit and the limit, and the knob's volume from the pointer's row.
#include <gtest/gtest.h>

#include "input/adjusters.h"

namespace kestrelon {
namespace {

struct LimitCase {
    bool fahrenheit;
    int32_t st, fst;
    int step;
    int32_t st_after, fst_after;
};

TEST(Adjusters, TemperatureLimitsStepInTheLeadingUnitAndTheOtherFollows) {
    const LimitCase cases[] = {
        {false, 90, 194, +1, 90, 194},  {false, 25, 77, -1, 25, 77},
        {false, 26, 79, -1, 25, 77},    {false, 27, 81, +1, 28, 82},
        {false, 95, 0, +1, 90, 194},    // above the range: down to the bound at once
        {false, 95, 0, -1, 94, 201},    // and one lower per down step
        {false, 10, 0, +1, 11, 52},     // below it: one higher per up step
        {true, 0, 77, -1, 25, 77},      {true, 0, 100, +1, 38, 101},
        {true, 0, 100, -1, 37, 99},     {true, 0, 193, +1, 90, 194},
        {true, 0, 78, -1, 25, 77},
    };
    for (const LimitCase& c : cases) {
        MonitorState s;
        s.settings.unit = unitFor(c.fahrenheit);
        s.settings.limitCelsius[Channel::Vga] = c.st,
        s.settings.limitFahrenheit[Channel::Vga] = c.fst;
        StepTempLimit(s, Channel::Vga, c.step);
        EXPECT_EQ(s.settings.limitCelsius[Channel::Vga], c.st_after)
            << c.st << "/" << c.fst << " step " << c.step;
        EXPECT_EQ(s.settings.limitFahrenheit[Channel::Vga], c.fst_after)
            << c.st << "/" << c.fst << " step " << c.step;
    }
}

TEST(Adjusters, EveryCelsiusLimitAgreesWithItsFahrenheitTwinBothWays) {
    for (int32_t c = kLimitMinC; c <= kLimitMaxC; ++c)
        EXPECT_EQ(FahrenheitToCelsius(CelsiusToFahrenheit(c)), c);
}

struct FanCase {
    int32_t limit, speed;
    int step;
    int32_t after;
};

TEST(Adjusters, ManualFanSpeedsStayBetweenHalfTheLimitAndTheLimit) {
    const FanCase cases[] = {
        {2300, 2250, +1, 2300}, {2300, 2300, +1, 2300}, {2300, 1200, -1, 1150},
        {2300, 1150, -1, 1150}, {2300, 1800, -1, 1700}, {2300, 1800, +1, 1900},
        {2300, 3000, -1, 2900},  // above the limit: one step down at a time
        {2300, 500, +1, 600},    // below half: one step up at a time
        {0, 0, +1, 0},          {0, 0, -1, 0},
        {0, 1800, +1, 1800},    {0, 1800, -1, 1800},  // an unknown limit never zeroes a speed
    };
    for (const FanCase& c : cases) {
        MonitorState s;
        s.readings.fanLimit[Channel::Case] = c.limit,
        s.settings.manualFanSpeed[Channel::Case] = c.speed;
        StepFanSetting(s, Channel::Case, c.step);
        EXPECT_EQ(s.settings.manualFanSpeed[Channel::Case], c.after)
            << c.limit << " " << c.speed << " step " << c.step;
    }
}

TEST(Adjusters, TheKnobsVolumeFollowsThePointersRowHeldInsideZeroToHundred) {
    const std::pair<double, int32_t> cases[] = {
        {203, 0}, {143, 100}, {173, 50}, {210, 0}, {136, 100}, {200, 5}, {202, 2}};
    for (const auto& [y, vol] : cases) EXPECT_EQ(KnobVolumeAt(y), vol) << y;
}

}  // namespace
}  // namespace kestrelon
