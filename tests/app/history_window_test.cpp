// SPDX-License-Identifier: GPL-3.0-or-later
// The history window offscreen with known rows and a fixed clock: what it reads and when, and
// pixel facts of its picture (a sensor's line where its value is, nothing across a gap, the
// dashed limits in view, the band of minute rows, the pointer's time line and values). And the
// ways to open it: --history, and a second start asking the running program.
#include "app/history_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/desktop_program.h"
#include "chart/chart_palette.h"

namespace kestrelon {
namespace {

using chart::Quantity;

constexpr int64_t kNow = 1796774400 + 12 * 3600;               // Wed 9 Dec 2026 12:00 UTC
constexpr int64_t kGapFrom = kNow - 400, kGapTo = kNow - 300;  // no rows: not running

// The rows the window is given: seconds for the last hour (with a gap), minutes beyond it with
// a band of ±5 °C around the CPU's 50 °C.
struct KnownHistory {
    std::vector<std::pair<int64_t, int64_t>> asked;

    HistoryRows operator()(int64_t from, int64_t to) {
        asked.emplace_back(from, to);
        const int32_t span = to - from <= 3600 ? 1 : 60;
        HistoryRows rows;
        for (int64_t t = from - from % span; t < to; t += span) {
            if (span == 1 && t >= kGapFrom && t < kGapTo) continue;
            HistoryRow r;
            r.utcSeconds = t;
            r.spanSeconds = span;
            const double spread = span == 1 ? 0 : 5;
            r.temperatureC[Channel::Cpu] = {50 - spread, 50, 50 + spread};
            r.temperatureC[Channel::Hdd] = {35, 35, 35};
            r.temperatureC[Channel::Case] = {30, 30, 30};  // the VGA sensor is absent
            r.fanRpm[Channel::Cpu] = {1800, 1800, 1800};
            r.fanRpm[Channel::Hdd] = {1200, 1200, 1200};
            r.limitC = {{70, 55, 80, 60}};
            rows.push_back(r);
        }
        return rows;
    }
};

WallClock fixedClock() {
    return {[] { return kNow; }, [](int64_t) { return 0; }};
}

int distance(QRgb a, const QColor& b) {
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) +
           std::abs(qBlue(a) - b.blue());
}
bool near(QRgb a, const QColor& b, int tolerance = 30) {
    return distance(a, b) <= tolerance;
}

// The window grabbed, and its view's plots and scales in the grab's pixels.
struct Shot {
    QImage image;
    QPoint viewAt;

    QRgb at(double x, double y) const {
        return image.pixel(viewAt + QPoint(static_cast<int>(x), static_cast<int>(y)));
    }
    // Whether any pixel of the column x, rows y0..y1, is near the colour.
    bool columnHas(double x, double y0, double y1, const QColor& c) const {
        for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y)
            if (near(at(x, y), c)) return true;
        return false;
    }
};

Shot grab(HistoryWindow& w, const char* name) {
    Shot s{w.grab().toImage(), w.view().mapTo(&w, QPoint(0, 0))};
    s.image.save(QString(KESTRELON_BIN_DIR "/../") + name);  // build/<name>, to look at
    return s;
}

class HistoryWindowTest : public ::testing::Test {
protected:
    KnownHistory history;
    HistoryWindow window{[this](int64_t f, int64_t t) { return history(f, t); }, Options{},
                         fixedClock()};

    void show() {
        window.resize(900, 620);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    double x(Quantity q, int64_t utc) {
        const QRectF plot = window.view().plotRect(q);
        const auto range = chart::RangeOf(window.range()).seconds;
        return plot.left() + double(utc - (kNow - range)) / double(range) * plot.width();
    }
    double y(Quantity q, double value) {
        return chart::ValueToY(window.view().picture(q).scale, window.view().plotRect(q), value);
    }
};

TEST_F(HistoryWindowTest, ItReadsItsRangeWhenShownAndRefreshesOnlyWhileShown) {
    EXPECT_TRUE(history.asked.empty());  // nothing read before it shows
    show();
    ASSERT_FALSE(history.asked.empty());
    EXPECT_EQ(history.asked.back(), std::make_pair(kNow - 600, kNow));
    EXPECT_TRUE(window.refreshTimer().isActive());
    EXPECT_EQ(window.refreshTimer().interval(), 1000);
    EXPECT_EQ(window.windowTitle(), "Kestrelon \u2014 History");

    const struct {
        chart::Range range;
        int64_t seconds;
        int refreshMs;
    } ranges[] = {{chart::Range::OneDay, 86400, 60000},
                  {chart::Range::SevenDays, 7 * 86400, 60000},
                  {chart::Range::OneHour, 3600, 1000}};
    for (const auto& r : ranges) {
        window.setRange(r.range);
        EXPECT_EQ(history.asked.back(), std::make_pair(kNow - r.seconds, kNow)) << r.seconds;
        EXPECT_EQ(window.refreshTimer().interval(), r.refreshMs) << r.seconds;
        EXPECT_TRUE(window.refreshTimer().isActive());
        EXPECT_FALSE(window.view().rows().empty());
    }

    window.hide();
    EXPECT_FALSE(window.refreshTimer().isActive());
    EXPECT_TRUE(window.view().rows().empty());  // hidden, it keeps no rows
    const std::size_t asked = history.asked.size();
    window.setRange(chart::Range::TenMinutes);
    QTest::qWait(1200);
    EXPECT_EQ(history.asked.size(), asked);
    window.show();
    EXPECT_EQ(history.asked.size(), asked + 1);
    EXPECT_EQ(history.asked.back(), std::make_pair(kNow - 600, kNow));
}

TEST_F(HistoryWindowTest, TheLastTenMinutesShowLinesGapsAndDashedLimitsInTheSensorsColours) {
    show();
    const Shot s = grab(window, "history-window-10min.png");
    const QRectF plot = window.view().plotRect(Quantity::Temperature);
    const auto& colour = chart::kSensorColour;
    ASSERT_FALSE(window.view().message());

    // Each sensor's line where its value is, before the gap and after it.
    for (int64_t t : {kNow - 550, kNow - 450, kNow - 200, kNow - 20}) {
        const double at = x(Quantity::Temperature, t);
        EXPECT_TRUE(s.columnHas(at, y(Quantity::Temperature, 50) - 1,
                                y(Quantity::Temperature, 50) + 1, colour[Channel::Cpu]))
            << t;
        EXPECT_TRUE(s.columnHas(at, y(Quantity::Temperature, 35) - 1,
                                y(Quantity::Temperature, 35) + 1, colour[Channel::Hdd]))
            << t;
        EXPECT_TRUE(s.columnHas(x(Quantity::FanSpeed, t), y(Quantity::FanSpeed, 1800) - 1,
                                y(Quantity::FanSpeed, 1800) + 1, colour[Channel::Cpu]))
            << t;
    }
    // Across the gap, not one pixel of the lines in either chart.
    for (double at = x(Quantity::Temperature, kGapFrom) + 3;
         at < x(Quantity::Temperature, kGapTo) - 3; at += 1) {
        EXPECT_FALSE(s.columnHas(at, y(Quantity::Temperature, 50) - 4,
                                 y(Quantity::Temperature, 50) + 4, colour[Channel::Cpu]))
            << at;
        EXPECT_FALSE(s.columnHas(at, y(Quantity::FanSpeed, 1200) - 4,
                                 y(Quantity::FanSpeed, 1200) + 4, colour[Channel::Hdd]))
            << at;
    }
    // Every limit in view as a dashed line in its sensor's colour, the absent VGA's too: about a
    // quarter of its row lit, in runs of a few pixels.
    const std::pair<Channel, int> limits[] = {
        {Channel::Cpu, 70}, {Channel::Hdd, 55}, {Channel::Vga, 80}, {Channel::Case, 60}};
    for (const auto& [channel, limit] : limits) {
        const double row = y(Quantity::Temperature, limit);
        ASSERT_GT(row, plot.top()) << limit;
        ASSERT_LT(row, plot.bottom()) << limit;
        int lit = 0, runs = 0;
        bool inRun = false;
        for (double at = plot.left() + 1; at < plot.right() - 1; at += 1) {
            const bool on = s.columnHas(at, row - 1, row + 1, colour[channel]);
            lit += on;
            runs += on && !inRun;
            inRun = on;
        }
        EXPECT_GT(lit, plot.width() * 0.15) << limit;
        EXPECT_LT(lit, plot.width() * 0.40) << limit;
        EXPECT_GT(runs, 20) << limit;
    }
    // The VGA sensor draws no line: its colour only on its limit's row.
    for (double at = plot.left() + 2; at < plot.right() - 2; at += 7)
        EXPECT_FALSE(s.columnHas(at, y(Quantity::Temperature, 75), y(Quantity::Temperature, 25),
                                 colour[Channel::Vga]))
            << at;
}

// A day and a week of minute rows: the band (a week's merged to the plot's width) in the
// sensor's colour over the glass around the mean's line, bare glass beyond it.
TEST_F(HistoryWindowTest, MinuteRowsShowTheirBandAroundTheMean) {
    show();
    QColor band;
    const QColor& c = chart::kSensorColour[Channel::Cpu];
    const double a = chart::kBandAlpha / 255.0;
    band.setRgb(int(chart::kPlotBack.red() * (1 - a) + c.red() * a),
                int(chart::kPlotBack.green() * (1 - a) + c.green() * a),
                int(chart::kPlotBack.blue() * (1 - a) + c.blue() * a));
    const std::pair<chart::Range, const char*> ranges[] = {
        {chart::Range::OneDay, "history-window-24h.png"},
        {chart::Range::SevenDays, "history-window-7d.png"}};
    for (const auto& [range, file] : ranges) {
        window.setRange(range);
        const Shot s = grab(window, file);
        const auto& ticks = window.view().picture(Quantity::Temperature).timeTicks;
        double at = x(Quantity::Temperature, kNow - 40000);
        while (std::any_of(ticks.begin(), ticks.end(),
                           [&](auto& t) { return std::abs(t.at - at) < 4; }))
            at += 5;
        for (double v : {46.5, 53.5})
            EXPECT_TRUE(near(s.at(at, y(Quantity::Temperature, v)), band, 12)) << file << v;
        EXPECT_TRUE(near(s.at(at, y(Quantity::Temperature, 57)), chart::kPlotBack, 6)) << file;
        EXPECT_TRUE(
            s.columnHas(at, y(Quantity::Temperature, 50) - 1, y(Quantity::Temperature, 50) + 1, c))
            << file;
    }
}

TEST_F(HistoryWindowTest, ThePointerShowsATimeLineAndTheValuesThereAndNothingOverAGap) {
    show();
    HistoryView& v = window.view();
    const double at = x(Quantity::Temperature, kNow - 100);
    QTest::mouseMove(&v, QPoint(int(at), int(v.plotRect(Quantity::Temperature).center().y())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.readout().has_value(); }, 2000));
    const chart::PointerReadout r = *v.readout();
    EXPECT_EQ(r.time.substr(0, 12), "Wed 9 11:58:");
    EXPECT_EQ(r.temperature[Channel::Cpu], "50 \u00B0C");
    EXPECT_EQ(r.temperature[Channel::Vga], "\u2014");
    EXPECT_EQ(r.fan[Channel::Hdd], "1200 rpm");
    const Shot s = grab(window, "history-window-pointer.png");
    const QRectF fans = v.plotRect(Quantity::FanSpeed);
    int column = -1;
    for (int dx = -2; dx <= 2 && column < 0; ++dx)
        if (near(s.at(at + dx, fans.bottom() - 3), chart::kCursor, 20)) column = int(at) + dx;
    EXPECT_GE(column, 0) << "no time line in the fan chart";

    QTest::mouseMove(&v, QPoint(int(x(Quantity::Temperature, kNow - 350)), 200));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !v.readout().has_value(); }, 2000));
}

TEST(HistoryWindowEmpty, WithoutRowsItSaysThereIsNoHistoryYetAndDrawsNoLine) {
    HistoryWindow window([](int64_t, int64_t) { return HistoryRows{}; }, Options{}, fixedClock());
    window.resize(700, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.view().message(), "No history yet for the last 10 min.");
    const Shot s = grab(window, "history-window-empty.png");
    for (Quantity q : {Quantity::Temperature, Quantity::FanSpeed}) {
        const QRectF plot = window.view().plotRect(q);
        for (double py = plot.top() + 1; py < plot.bottom(); py += 2)
            for (double px = plot.left() + 1; px < plot.right(); px += 2)
                for (Channel c : kAllChannels)
                    ASSERT_FALSE(near(s.at(px, py), chart::kSensorColour[c])) << px << "," << py;
    }
}

}  // namespace
}  // namespace kestrelon
