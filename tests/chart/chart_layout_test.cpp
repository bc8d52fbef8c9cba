// SPDX-License-Identifier: GPL-3.0-or-later
// A history chart laid out from rows: lines and bands split at gaps and missing values, the scale
// taking in the limits (and leaving out the absurd ones, drawn at the edge), a week merged to
// the plot's width without losing a spike, and the row found under the pointer.
#include "chart/chart_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "chart/pointer_readout.h"

namespace kestrelon::chart {
namespace {

constexpr int64_t kT0 = 1796774400;  // Wed 9 Dec 2026 00:00 UTC

SeriesStats one(double v) {
    return {v, v, v};
}

HistoryRow row(int64_t at, int32_t span, std::optional<double> cpu, int32_t cpuLimit = 70) {
    HistoryRow r;
    r.utcSeconds = at;
    r.spanSeconds = span;
    if (cpu) r.temperatureC[Channel::Cpu] = one(*cpu);
    r.limitC = {{cpuLimit, 60, 60, 60}};
    return r;
}

// Second rows at the given offsets from kT0 (a negative offset: that second with no value).
HistoryRows seconds(const std::vector<int>& offsets) {
    HistoryRows rows;
    for (int o : offsets)
        rows.push_back(row(kT0 + std::abs(o), 1, o < 0 ? std::nullopt : std::optional(50.0)));
    return rows;
}

std::vector<int> count(int from, int to) {  // from..to-1
    std::vector<int> out;
    for (int i = from; i < to; ++i) out.push_back(i);
    return out;
}
std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// 600 seconds over 600 pixels: a pixel a second.
const ChartFrame kTenMinutes{kT0, kT0 + 600, QRectF(100, 50, 600, 200), 0};

TEST(ChartLayout, LinesBreakAtGapsLongerThanARowAndAtMissingValues) {
    const struct {
        std::string name;
        HistoryRows rows;
        std::vector<std::pair<double, double>> lines;  // each line's first and last x
    } cases[] = {
        {"unbroken", seconds(count(0, 10)), {{100.5, 109.5}}},
        {"one second missing is bridged",
         seconds(join(count(0, 3), count(4, 6))),
         {{100.5, 105.5}}},
        {"two seconds missing break",
         seconds(join(count(0, 3), count(5, 7))),
         {{100.5, 102.5}, {105.5, 106.5}}},
        {"a missing value breaks", seconds({0, 1, 2, -3, 4, 5}), {{100.5, 102.5}, {104.5, 105.5}}},
        {"a lone row spans its own second",
         seconds(join(count(0, 3), {10})),
         {{100.5, 102.5}, {110, 111}}},
        {"rows outside the range are left out", seconds({0, 700, 701}), {{100, 101}}},
        {"minute rows: one missing minute bridged, two break",
         {row(kT0, 60, 40), row(kT0 + 120, 60, 41), row(kT0 + 300, 60, 42), row(kT0 + 360, 60, 43)},
         {{130, 250}, {430, 490}}},  // drawn at their middles
        {"nothing but missing values", seconds({-1, -2, -3}), {}},
    };
    for (const auto& c : cases) {
        const ChartPicture p = LayOutChart(c.rows, Quantity::Temperature, kTenMinutes);
        const auto& lines = p.series[Channel::Cpu].lines;
        ASSERT_EQ(lines.size(), c.lines.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_NEAR(lines[i].first().x(), c.lines[i].first, 1e-6) << c.name << " line " << i;
            EXPECT_NEAR(lines[i].last().x(), c.lines[i].second, 1e-6) << c.name << " line " << i;
        }
        // A sensor without values draws nothing; second rows draw no band.
        EXPECT_TRUE(p.series[Channel::Hdd].lines.empty()) << c.name;
        EXPECT_TRUE(p.series[Channel::Cpu].bands.empty()) << c.name;
    }
}

TEST(ChartLayout, MinuteRowsDrawTheirMinToMaxAsABandAroundTheMean) {
    HistoryRows rows;
    for (int m = 0; m < 5; ++m) {
        rows.push_back(row(kT0 + m * 60, 60, std::nullopt));
        rows.back().temperatureC[Channel::Cpu] = {40 + m, 45, 50};
        rows.back().fanRpm[Channel::Hdd] = {1000, 1200, 1500};
    }
    rows.push_back(row(kT0 + 400, 60, std::nullopt));  // apart: a band of its own
    rows.back().temperatureC[Channel::Cpu] = {44, 45, 47};
    const ChartPicture t = LayOutChart(rows, Quantity::Temperature, kTenMinutes);
    const auto& bands = t.series[Channel::Cpu].bands;
    ASSERT_EQ(bands.size(), 2u);
    const QRectF first = bands[0].boundingRect();
    EXPECT_NEAR(first.top(), ValueToY(t.scale, kTenMinutes.plot, 50), 1e-6);
    EXPECT_NEAR(first.bottom(), ValueToY(t.scale, kTenMinutes.plot, 40), 1e-6);
    EXPECT_NEAR(first.left(), 130, 1e-6);
    EXPECT_NEAR(first.right(), 370, 1e-6);
    EXPECT_NEAR(bands[1].boundingRect().left(), 500, 1e-6);  // a lone minute: its own width
    EXPECT_NEAR(bands[1].boundingRect().right(), 560, 1e-6);
    // The mean runs inside its band.
    for (const QPointF& pt : t.series[Channel::Cpu].lines[0])
        EXPECT_NEAR(pt.y(), ValueToY(t.scale, kTenMinutes.plot, 45), 1e-6);

    const ChartPicture f = LayOutChart(rows, Quantity::FanSpeed, kTenMinutes);
    ASSERT_EQ(f.series[Channel::Hdd].bands.size(), 1u);
    EXPECT_EQ(f.scale.low, 0);  // fan speeds from a standstill
    EXPECT_GE(f.scale.high, 1500);
    EXPECT_TRUE(f.series[Channel::Hdd].limit.isEmpty());  // no limit on a fan chart
}

TEST(ChartLayout, TheScaleTakesInTheLimitsAndAbsurdLimitsStayAtTheEdge) {
    const auto rowsWithLimit = [](int32_t limit) {
        HistoryRows rows;
        for (int s = 0; s < 60; ++s) {
            rows.push_back(row(kT0 + s, 1, 40 + s % 11));  // 40..50 °C
            rows.back().limitC = {{limit, limit, limit, limit}};
        }
        return rows;
    };
    // A limit among the values adds nothing to the scale.
    const ValueScale valuesAlone =
        LayOutChart(rowsWithLimit(45), Quantity::Temperature, kTenMinutes).scale;
    const struct {
        int32_t limit;
        bool absurd;
    } cases[] = {{70, false},  {25, false}, {45, false},  {130, false},
                 {-20, false}, {200, true}, {-100, true}, {131, true}};
    for (const auto& c : cases) {
        const ChartPicture p =
            LayOutChart(rowsWithLimit(c.limit), Quantity::Temperature, kTenMinutes);
        const QRectF& plot = kTenMinutes.plot;
        for (Channel ch : kAllChannels) {
            const SeriesPicture& s = p.series[ch];
            EXPECT_EQ(s.limitClamped, c.absurd) << c.limit;
            ASSERT_EQ(s.limit.size(), 2) << c.limit;  // one level across the whole plot
            EXPECT_EQ(s.limit.first().x(), plot.left()) << c.limit;
            EXPECT_EQ(s.limit.last().x(), plot.right()) << c.limit;
            const double y = s.limit.first().y();
            if (c.absurd)
                EXPECT_EQ(y, c.limit > 0 ? plot.top() : plot.bottom()) << c.limit;
            else
                EXPECT_NEAR(y, ValueToY(p.scale, plot, c.limit), 1e-6) << c.limit;
        }
        if (c.absurd) {
            EXPECT_EQ(p.scale, valuesAlone) << c.limit;
        } else {
            EXPECT_LE(p.scale.low, std::min(40, c.limit)) << c.limit;
            EXPECT_GE(p.scale.high, std::max(50, c.limit)) << c.limit;
        }
        EXPECT_LE((p.scale.high - p.scale.low) / p.scale.step, 6) << c.limit;  // 200 px high
    }
}

TEST(ChartLayout, ALimitChangedOnTheWayStepsWhereItChanged) {
    HistoryRows rows = seconds(count(0, 100));
    for (int i = 40; i < 100; ++i) rows[i].limitC[Channel::Cpu] = 80;
    const ChartPicture p = LayOutChart(rows, Quantity::Temperature, kTenMinutes);
    const double y70 = ValueToY(p.scale, kTenMinutes.plot, 70);
    const double y80 = ValueToY(p.scale, kTenMinutes.plot, 80);
    const QPolygonF expected{QPointF(100, y70), QPointF(140, y70), QPointF(140, y80),
                             QPointF(700, y80)};
    EXPECT_EQ(p.series[Channel::Cpu].limit, expected);
}

TEST(ChartLayout, AWeekIsMergedToThePlotsWidthKeepingItsExtremes) {
    const ChartFrame week{kT0, kT0 + 7 * 86400, QRectF(60, 40, 700, 300), 0};
    HistoryRows rows;
    for (int64_t t = kT0; t < week.toUtc; t += 60) {
        rows.push_back(row(t, 60, std::nullopt));
        rows.back().temperatureC[Channel::Cpu] = {48, 50, 52};
    }
    rows[5000].temperatureC[Channel::Cpu] = {49, 60, 93};  // a spike of one minute
    const ChartPicture p = LayOutChart(rows, Quantity::Temperature, week);
    const SeriesPicture& cpu = p.series[Channel::Cpu];
    ASSERT_EQ(cpu.lines.size(), 1u);
    EXPECT_LE(cpu.lines[0].size(), 701);
    EXPECT_GE(cpu.lines[0].size(), 690);
    ASSERT_EQ(cpu.bands.size(), 1u);
    EXPECT_NEAR(cpu.bands[0].boundingRect().top(), ValueToY(p.scale, week.plot, 93), 1e-6);
    EXPECT_GE(p.scale.high, 93);
    // The ticks: one a day, named by the day, inside the plot.
    ASSERT_EQ(p.timeTicks.size(), 8u);
    EXPECT_EQ(p.timeTicks[0].label, "Wed 9");
    EXPECT_EQ(p.timeTicks[5].label, "Mon 14");
    for (const Tick& t : p.timeTicks) {
        EXPECT_GE(t.at, week.plot.left());
        EXPECT_LE(t.at, week.plot.right());
    }
    for (const Tick& t : p.valueTicks) {
        EXPECT_GE(t.at, week.plot.top() - 1e-6);
        EXPECT_LE(t.at, week.plot.bottom() + 1e-6);
    }
}

TEST(ChartLayout, ThePointerFindsTheRowUnderItAndNothingOverAGap) {
    const HistoryRows rows = seconds(join(count(0, 100), count(200, 300)));
    const struct {
        double x;
        std::optional<int64_t> row;  // its offset from kT0
    } cases[] = {
        {150.2, 50},         {100, 0},
        {199.9, 99},         {250, std::nullopt},  // in the gap
        {202.4, 99},                               // just beside its end: within three pixels
        {204, std::nullopt}, {300.5, 200},
        {399.6, 299},        {402, 299},
        {405, std::nullopt},                       // beyond the data
        {99, std::nullopt},  {701, std::nullopt},  // beside the plot
    };
    for (const auto& c : cases) {
        const HistoryRow* found = RowUnderPointer(rows, kTenMinutes, c.x);
        ASSERT_EQ(found != nullptr, c.row.has_value()) << c.x;
        if (found) {
            EXPECT_EQ(found->utcSeconds - kT0, *c.row) << c.x;
        }
    }
    // Minute rows over a day: the minute that holds the pointer's time.
    const ChartFrame day{kT0, kT0 + 86400, QRectF(0, 0, 1440, 100), 0};
    HistoryRows minutes;
    for (int m = 0; m < 1440; m += 1) minutes.push_back(row(kT0 + m * 60, 60, 50));
    EXPECT_EQ(RowUnderPointer(minutes, day, 700.9)->utcSeconds, kT0 + 700 * 60);
}

TEST(ChartLayout, TheReadoutSaysEachSensorsValuesWithTheirSpread) {
    HistoryRow minute = row(kT0 + 14 * 3600 + 5 * 60, 60, std::nullopt);
    minute.temperatureC[Channel::Cpu] = {44, 45.3, 47};
    minute.temperatureC[Channel::Hdd] = one(36);
    minute.fanRpm[Channel::Cpu] = {1750, 1790.4, 1820};
    const PointerReadout r = ReadoutOf(minute, 3600);
    EXPECT_EQ(r.time, "Wed 9 15:05");
    EXPECT_EQ(r.temperature[Channel::Cpu], "45.3 \u00B0C (44\u201347)");
    EXPECT_EQ(r.temperature[Channel::Hdd], "36 \u00B0C");
    EXPECT_EQ(r.temperature[Channel::Vga], "\u2014");
    EXPECT_EQ(r.fan[Channel::Cpu], "1790 rpm (1750\u20131820)");
    EXPECT_EQ(r.fan[Channel::Case], "\u2014");
    EXPECT_EQ(ReadoutOf(row(kT0 + 7, 1, 51), 0).time, "Wed 9 00:00:07");
}

}  // namespace
}  // namespace kestrelon::chart
