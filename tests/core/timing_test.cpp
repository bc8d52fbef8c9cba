// SPDX-License-Identifier: GPL-3.0-or-later
// Virtual time: waits advance it, the time of day wraps at midnight, a clock change leaves
// the monotonic scale alone.
#include "core/timing.h"

#include <gtest/gtest.h>

namespace kestrelon {

TEST(VirtualTime, WaitsAdvanceTheClockAndAreCounted) {
    VirtualTime time(23 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(time.timeOfDay(), "23:59:59");
    time.delay(10);
    time.delay(1000);
    EXPECT_EQ(time.waits(), 2);
    EXPECT_DOUBLE_EQ(time.monotonicSeconds(), 1.01);
    EXPECT_EQ(time.timeOfDay(), "00:00:00");
}

TEST(VirtualTime, SettingTheTimeOfDayKeepsTheMonotonicClock) {
    VirtualTime time(0);
    time.advance(5);
    time.setTimeOfDay(9 * 3600 + 5 * 60);
    EXPECT_EQ(time.timeOfDay(), "09:05:00");
    EXPECT_DOUBLE_EQ(time.monotonicSeconds(), 5);
}

}  // namespace kestrelon
