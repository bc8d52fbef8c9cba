// SPDX-License-Identifier: GPL-3.0-or-later
// The history charts' axes: round value scales for temperatures and fan speeds, time steps that
// leave room for their labels, ticks on round local times and their labels.
#include "chart/chart_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrelon::chart {
namespace {

constexpr int64_t kWed9Dec2026 = 1796774400;  // 00:00 UTC
constexpr int64_t kHour = 3600;

TEST(ChartScale, ValueScalesTakeRoundStepsAndHoldTheSpan) {
    const struct {
        double lo, hi;
        int maxSteps;
        double minStep;
        ValueScale expected;
    } cases[] = {
        {40, 60, 6, 1, {40, 60, 5}},  // temperatures, ends already round
        {39, 61, 6, 1, {35, 65, 5}},       {-3, 7, 4, 1, {-5, 10, 5}},  // below zero
        {12, 97, 2, 1, {0, 100, 50}},       // a short chart: few, long steps
        {1, 9, 4, 1, {0, 10, 5}},           // a step of 2 would need 5 steps once rounded out
        {50, 50, 5, 1, {50, 51, 1}},        // a flat line still gets one step
        {44.5, 45.5, 8, 1, {44, 46, 1}},    // never finer than the least step
        {0, 3050, 7, 100, {0, 3500, 500}},  // fan speeds
        {0, 950, 10, 100, {0, 1000, 100}}, {0, 12800, 6, 100, {0, 15000, 5000}},
        {60, 40, 6, 1, {40, 60, 5}},  // ends given the wrong way round
    };
    for (const auto& c : cases) {
        const ValueScale s = NiceScale(c.lo, c.hi, c.maxSteps, c.minStep);
        EXPECT_EQ(s, c.expected) << c.lo << ".." << c.hi << " in " << c.maxSteps;
        // Whatever the case: the span is held, within the steps allowed, on the step.
        EXPECT_LE(s.low, std::min(c.lo, c.hi));
        EXPECT_GE(s.high, std::max(c.lo, c.hi));
        EXPECT_LE((s.high - s.low) / s.step, c.maxSteps + 1e-9);
        EXPECT_NEAR(std::remainder(s.low, s.step), 0, 1e-9);
    }
}

TEST(ChartScale, TimeStepsLeaveRoomForTheirLabels) {
    const struct {
        int64_t span;
        double width;
        int64_t step;
    } cases[] = {
        {600, 800, 60},  // 10 min: a tick a minute
        {600, 300, 300},
        {3600, 800, 600},         // 1 h
        {86400, 800, 3 * kHour},  // 24 h
        {86400, 2000, kHour},
        {7 * 86400, 800, 86400},  // 7 d: a tick a day
        {7 * 86400, 300, 2 * 86400},
        {7 * 86400, 20, 7 * 86400},  // nothing fits: the longest step
        {600, 0, 7 * 86400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeTickStep(c.span, c.width, 72), c.step) << c.span << " in " << c.width;
}

TEST(ChartScale, TimeLabelsSayTheClockOrTheDayInLocalTime) {
    const struct {
        int64_t utc;
        int64_t step;
        int offset;
        std::string label;
    } cases[] = {
        {kWed9Dec2026 + 14 * kHour + 5 * 60, 60, 0, "14:05"},
        {kWed9Dec2026 + 14 * kHour + 5 * 60, 60, 3600, "15:05"},
        {kWed9Dec2026 + 14 * kHour + 5 * 60, 60, -5 * 3600, "09:05"},
        {kWed9Dec2026, 3 * kHour, 0, "Wed 9"},             // midnight names the day
        {kWed9Dec2026 - kHour, 3 * kHour, 3600, "Wed 9"},  // local midnight, not UTC's
        {kWed9Dec2026, 3 * kHour, 3600, "01:00"},
        {kWed9Dec2026 + 5 * 86400, 86400, 0, "Mon 14"},  // day steps always name the day
        {kWed9Dec2026 + 23 * 86400, 86400, 0, "Fri 1"},  // into January
        {0, 86400, 0, "Thu 1"},
        {-1, 60, 0, "23:59"},  // before 1970
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeLabel(c.utc, c.step, c.offset), c.label) << c.utc << " +" << c.offset;
    EXPECT_EQ(PointerTimeLabel(kWed9Dec2026 + 14 * kHour + 5 * 60 + 7, true, 0), "Wed 9 14:05:07");
    EXPECT_EQ(PointerTimeLabel(kWed9Dec2026 + 14 * kHour + 5 * 60, false, 7200), "Wed 9 16:05");
}

TEST(ChartScale, TimeTicksFallOnRoundLocalTimesInsideTheRange) {
    const int64_t t0 = kWed9Dec2026 + 10 * kHour;
    const struct {
        int64_t from, to, step;
        int offset;
        std::vector<int64_t> ticks;
    } cases[] = {
        {t0 + 200, t0 + 800, 120, 0, {t0 + 240, t0 + 360, t0 + 480, t0 + 600, t0 + 720}},
        {t0, t0 + 300, 120, 0, {t0, t0 + 120, t0 + 240}},  // ends included when on a tick
        // Half-hour zones: the local full hours are UTC's half hours.
        {t0, t0 + 3 * kHour, kHour, 5 * kHour + 1800, {t0 + 1800, t0 + 5400, t0 + 9000}},
        // Days start at local midnight.
        {kWed9Dec2026,
         kWed9Dec2026 + 2 * 86400,
         86400,
         -3600,
         {kWed9Dec2026 + 3600, kWed9Dec2026 + 86400 + 3600}},
        // Weeks start on Monday: 14 December 2026.
        {kWed9Dec2026,
         kWed9Dec2026 + 14 * 86400,
         7 * 86400,
         0,
         {kWed9Dec2026 + 5 * 86400, kWed9Dec2026 + 12 * 86400}},
        {t0 + 10, t0 + 50, 60, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeTickInstants(c.from, c.to, c.step, c.offset), c.ticks)
            << c.from - t0 << ".." << c.to - t0 << " step " << c.step;
}

TEST(ChartScale, ValuesAreWholeWhenWholeElseToATenth) {
    const struct {
        double value;
        std::string label;
    } cases[] = {{45, "45"}, {45.3, "45.3"}, {44.96, "45"}, {-0.01, "0"},
                 {-7, "-7"}, {2500, "2500"}, {0.5, "0.5"}};
    for (const auto& c : cases) EXPECT_EQ(ValueLabel(c.value), c.label) << c.value;
}

}  // namespace
}  // namespace kestrelon::chart
