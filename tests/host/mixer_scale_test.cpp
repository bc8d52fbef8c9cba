// SPDX-License-Identifier: GPL-3.0-or-later
// Percent scaling of the master volume: the written raw values and the read-back percentages.
#include <gtest/gtest.h>

#include "host/mixer_scale.h"

namespace kestrelon {
namespace {

struct WriteCase {
    int64_t percent, min, max, raw;
};

TEST(MixerScale, WritesPercentagesIntoTheElementsRange) {
    const WriteCase cases[] = {
        {50, 0, 65535, 32750},  {100, 0, 65535, 65500}, {0, 0, 65535, 0},
        {40, 0, 65536, 26200},  {150, 0, 65535, 65535},  // held at the maximum
        {-5, 0, 65535, 0},                                 // held at the minimum
        {50, 0, 31, 31},        {20, 0, 31, 20},           // a small range passes values on
        {50, 100, 1100, 600},   {0, 100, 1100, 100},       // counted from the minimum
    };
    for (const WriteCase& c : cases)
        EXPECT_EQ(MixerRawFromPercent(c.percent, c.min, c.max), c.raw)
            << c.percent << "% of " << c.min << ".." << c.max;
}

struct ReadCase {
    int64_t raw, min, max;
    int32_t percent;
};

TEST(MixerScale, ReadsPercentagesFromTheWholeRangeHeldInsideZeroToHundred) {
    const ReadCase cases[] = {
        {32750, 0, 65535, 50}, {65500, 0, 65535, 100}, {0, 0, 65535, 0},
        {78643, 0, 65536, 100},  // a sound server above its maximum
        {-20, 0, 65536, 0},
        {600, 100, 1100, 50},    // the minimum is taken off before dividing
        {1100, 100, 1100, 100},
        {20, 0, 31, 20},         // a small range reads as it stands
        {0, 0, 0, 0},            // an empty range does not divide by zero
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(MixerPercentFromRaw(c.raw, c.min, c.max), c.percent)
            << c.raw << " of " << c.min << ".." << c.max;
}

TEST(MixerScale, EveryPercentageSurvivesTheRoundTripOnASixteenBitRange) {
    for (int64_t max : {65535, 65536})
        for (int64_t p = 0; p <= 100; ++p)
            EXPECT_EQ(MixerPercentFromRaw(MixerRawFromPercent(p, 0, max), 0, max), p) << max;
}

}  // namespace
}  // namespace kestrelon
