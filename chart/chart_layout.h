// SPDX-License-Identifier: GPL-3.0-or-later
// One history chart laid out in pixels from the rows of its time range: the value scale and the
// ticks, each sensor's mean line and min–max band split at gaps, its limit as a line kept in
// view, and the row under the pointer. Drawing it is the window's business.
#pragma once

#include <QPolygonF>
#include <QRectF>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "chart/chart_scale.h"
#include "history/history_row.h"

namespace kestrelon::chart {

// The time ranges the window offers: how far back, and how often it is read again while shown
// (the last hour comes a second at a time, longer ranges a minute at a time).
enum class Range { TenMinutes, OneHour, OneDay, SevenDays };
struct RangeRow {
    Range range;
    std::string_view label;
    int64_t seconds;
    int refreshMs;
};
inline constexpr std::array<RangeRow, 4> kRanges{{
    {Range::TenMinutes, "10 min", 10 * 60, 1000},
    {Range::OneHour, "1 h", 3600, 1000},
    {Range::OneDay, "24 h", 24 * 3600, 60 * 1000},
    {Range::SevenDays, "7 d", 7 * 24 * 3600, 60 * 1000},
}};
const RangeRow& RangeOf(Range range);

// What a chart shows.
enum class Quantity { Temperature, FanSpeed };
struct QuantityRow {
    Quantity quantity;
    std::string_view title;
    std::string_view unit;
    double minStep;              // the smallest step of the value axis
    double margin;               // kept free above and below the values
    bool fromZero;               // the axis starts at 0 (fan speeds)
    double emptyLow, emptyHigh;  // the axis with no value to show
    bool hasLimit;               // the rows' limits apply
    double limitLow, limitHigh;  // limits outside this stay at the chart's edge, not in the scale
};
inline constexpr std::array<QuantityRow, 2> kQuantities{{
    {Quantity::Temperature, "Temperature", "\u00B0C", 1, 1, false, 20, 80, true, -20, 130},
    {Quantity::FanSpeed, "Fan speed", "rpm", 100, 50, true, 0, 3000, false, 0, 0},
}};
const QuantityRow& QuantityOf(Quantity quantity);

// A sensor's values of one quantity in a row.
const SeriesStats& StatsOf(const HistoryRow& row, Quantity quantity, Channel channel);

// Where a chart is and what time it covers. Labels are in local time, UTC + the offset.
struct ChartFrame {
    int64_t fromUtc = 0, toUtc = 0;
    QRectF plot;
    int utcOffsetSeconds = 0;
};
double TimeToX(const ChartFrame& frame, double utcSeconds);
double XToTime(const ChartFrame& frame, double x);
double ValueToY(const ValueScale& scale, const QRectF& plot, double value);

// Two rows in time order belong to one stretch unless the time between them with no row is
// longer than the first row's span. A missing value ends a stretch too.
bool Joined(const HistoryRow& earlier, const HistoryRow& later);

struct SeriesPicture {
    std::vector<QPolygonF> lines;  // the mean, one polyline per stretch
    std::vector<QPolygonF> bands;  // min–max, one closed polygon per stretch where they differ
    QPolygonF limit;               // a step line across the plot; empty: none
    bool limitClamped = false;     // some of the limit lies beyond the scale, drawn at the edge
};

struct ChartPicture {
    ValueScale scale;
    std::vector<Tick> valueTicks;  // at: y
    std::vector<Tick> timeTicks;   // at: x
    PerChannel<SeriesPicture> series;
    bool anyValue = false;  // some sensor has a value in the range
};

// Lays out the chart of `quantity` from `rows` (in time order). Points closer than a pixel are
// merged, their band the widest of theirs, so a week costs no more to draw than the plot's width.
ChartPicture LayOutChart(const HistoryRows& rows, Quantity quantity, const ChartFrame& frame);

// The row under the pointer at `x`: the row nearest in time whose middle lies within half its
// span or three pixels of the pointer's time; nothing over a gap or beyond the data.
const HistoryRow* RowUnderPointer(const HistoryRows& rows, const ChartFrame& frame, double x);
// The middle of a row's time, where its point is drawn.
double RowMiddle(const HistoryRow& row);

}  // namespace kestrelon::chart
