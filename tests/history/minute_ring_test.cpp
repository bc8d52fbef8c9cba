// SPDX-License-Identifier: GPL-3.0-or-later
// One minute's samples made into a row, and the one-hour ring of seconds.
#include <gtest/gtest.h>

#include "history/history_ring.h"
#include "history/minute_aggregator.h"

namespace kestrelon {
namespace {

constexpr int64_t kMinute = 1798761540;  // 2026-12-31T23:59:00Z

Sample sampleWith(std::optional<double> cpu, std::optional<int32_t> cpuFan, int limit = 70) {
    Sample s;
    s.panelPresent = true;
    s.temperatureC[Channel::Cpu] = cpu;
    s.fanRpm[Channel::Cpu] = cpuFan;
    s.limitC.values = {limit, 45, 80, 40};
    return s;
}

TEST(MinuteAggregator, EachSeriesTakesItsPresentValuesOnly) {
    const struct {
        const char* what;
        std::vector<Sample> samples;
        SeriesStats cpu, fan;
    } cases[] = {
        {"one sample", {sampleWith(40, 1000)}, {40, 40, 40}, {1000, 1000, 1000}},
        {"lowest, mean, highest",
         {sampleWith(40, 1000), sampleWith(44, 1300), sampleWith(42, 1100)},
         {40, 42, 44},
         {1000, 1133.3333333333333, 1300}},
        {"a missing value is left out, not counted as 0",
         {sampleWith(40, std::nullopt), sampleWith(std::nullopt, 900), sampleWith(50, 0)},
         {40, 45, 50},
         {0, 450, 900}},
        {"never present: missing", {sampleWith(std::nullopt, std::nullopt)}, {}, {}},
    };
    for (const auto& c : cases) {
        MinuteAggregator m;
        for (std::size_t i = 0; i < c.samples.size(); ++i)
            EXPECT_FALSE(m.add(kMinute + static_cast<int64_t>(i), c.samples[i])) << c.what;
        const std::optional<HistoryRow> row = m.take();
        ASSERT_TRUE(row) << c.what;
        EXPECT_EQ(row->utcSeconds, kMinute);
        EXPECT_EQ(row->spanSeconds, 60);
        EXPECT_EQ(row->temperatureC[Channel::Cpu], c.cpu) << c.what;
        ASSERT_EQ(row->fanRpm[Channel::Cpu].mean.has_value(), c.fan.mean.has_value()) << c.what;
        if (c.fan.mean) {
            EXPECT_DOUBLE_EQ(*row->fanRpm[Channel::Cpu].mean, *c.fan.mean) << c.what;
        }
        EXPECT_EQ(row->temperatureC[Channel::Hdd], SeriesStats{}) << c.what;
        EXPECT_FALSE(m.take()) << "a minute is taken once: " << c.what;
    }
}

TEST(MinuteAggregator, TheNextMinuteEndsTheRowWithTheLimitsInForceAtItsEnd) {
    MinuteAggregator m;
    EXPECT_FALSE(m.take());  // no sample, no row
    m.add(kMinute + 5, sampleWith(40, 1000, 70));
    Sample last = sampleWith(41, 1000, 65);
    last.fanMode = FanMode::Automatic;
    m.add(kMinute + 59, last);
    const std::optional<HistoryRow> ended = m.add(kMinute + 60, sampleWith(60, 2000, 90));
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->utcSeconds, kMinute);
    EXPECT_EQ(ended->limitC[Channel::Cpu], 65);
    EXPECT_EQ(ended->fanMode, FanMode::Automatic);
    EXPECT_EQ(ended->temperatureC[Channel::Cpu], (SeriesStats{40, 40.5, 41}));
    const std::optional<HistoryRow> next = m.take();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->utcSeconds, kMinute + 60);
    EXPECT_EQ(next->temperatureC[Channel::Cpu], (SeriesStats{60, 60, 60}));
}

TEST(HistoryRing, SecondsAreKeptForAnHourAndGapsStayGaps) {
    HistoryRing ring;
    for (int64_t t = kMinute; t < kMinute + 10; ++t)
        if (t != kMinute + 4) ring.put(t, sampleWith(static_cast<double>(t - kMinute), 1000));
    HistoryRows rows = ring.rows(kMinute + 2, kMinute + 6);
    ASSERT_EQ(rows.size(), 4u);  // 2, 3, 5, 6: second 4 is a gap
    EXPECT_EQ(rows[2].utcSeconds, kMinute + 5);
    EXPECT_EQ(rows[2].spanSeconds, 1);
    EXPECT_EQ(rows[2].temperatureC[Channel::Cpu], (SeriesStats{5, 5, 5}));
    EXPECT_EQ(rows[2].fanRpm[Channel::Hdd], SeriesStats{});
    EXPECT_EQ(rows[2].limitC[Channel::Vga], 80);

    // An hour later the same slots hold the new seconds; the old ones are gone, not mixed in.
    ring.put(kMinute + kRingSeconds + 3, sampleWith(99, std::nullopt));
    rows = ring.rows(kMinute + 20, kMinute + kRingSeconds + 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].utcSeconds, kMinute + kRingSeconds + 3);
    EXPECT_EQ(rows[0].fanRpm[Channel::Cpu], SeriesStats{});
    EXPECT_TRUE(ring.rows(kMinute + 3, kMinute + 3).empty());  // its slot holds a later second
}

}  // namespace
}  // namespace kestrelon
