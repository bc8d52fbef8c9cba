// SPDX-License-Identifier: GPL-3.0-or-later
// A history chart's scale, ticks, lines, bands and limits in pixels.
#include "chart/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon::chart {

namespace {

constexpr double kValueTickSpacingPx = 32;  // value ticks at least this far apart
constexpr double kTimeTickSpacingPx = 72;   // room for "HH:MM" or "Tue 8" between time ticks
constexpr double kPointerReachPx = 3;       // how far beside a row the pointer still finds it

bool inFrame(const HistoryRow& row, const ChartFrame& frame) {
    return row.utcSeconds + row.spanSeconds > frame.fromUtc && row.utcSeconds < frame.toUtc;
}

double clampX(const ChartFrame& frame, double x) {
    return std::clamp(x, frame.plot.left(), frame.plot.right());
}

// A point of a stretch: a row, or the rows that fall into one pixel column.
struct Point {
    double x = 0, min = 0, mean = 0, max = 0;
    int merged = 1;
};

// The stretches of one sensor: rows joined in time, each with a value. A lone row is drawn
// across its own time, the rows of a longer stretch at their middles.
std::vector<std::vector<Point>> stretchesOf(const HistoryRows& rows, Quantity quantity,
                                            Channel channel, const ChartFrame& frame) {
    std::vector<std::vector<const HistoryRow*>> runs;
    const HistoryRow* previous = nullptr;
    for (const HistoryRow& row : rows) {
        if (!inFrame(row, frame)) continue;
        if (StatsOf(row, quantity, channel).mean) {
            const bool continues =
                previous && StatsOf(*previous, quantity, channel).mean && Joined(*previous, row);
            if (!continues) runs.emplace_back();
            runs.back().push_back(&row);
        }
        previous = &row;
    }
    std::vector<std::vector<Point>> out;
    for (const auto& run : runs) {
        std::vector<Point>& points = out.emplace_back();
        for (const HistoryRow* row : run) {
            const SeriesStats& s = StatsOf(*row, quantity, channel);
            const Point p{0, s.min.value_or(*s.mean), *s.mean, s.max.value_or(*s.mean)};
            if (run.size() == 1) {
                points.push_back(p);
                points.back().x = clampX(frame, TimeToX(frame, row->utcSeconds));
                points.push_back(p);
                points.back().x = clampX(frame, TimeToX(frame, row->utcSeconds + row->spanSeconds));
            } else {
                points.push_back(p);
                points.back().x = clampX(frame, TimeToX(frame, RowMiddle(*row)));
            }
        }
    }
    return out;
}

// Merges the points that share a pixel column: the band the widest, the mean and x averaged.
// What merges into one point still shows as a line a pixel wide.
std::vector<Point> mergedByColumn(const std::vector<Point>& points, const QRectF& plot) {
    std::vector<Point> out;
    for (const Point& p : points) {
        if (!out.empty() && std::floor(out.back().x) == std::floor(p.x)) {
            Point& m = out.back();
            const double n = m.merged;
            m.x = (m.x * n + p.x) / (n + 1);
            m.mean = (m.mean * n + p.mean) / (n + 1);
            m.min = std::min(m.min, p.min);
            m.max = std::max(m.max, p.max);
            m.merged += 1;
        } else {
            out.push_back(p);
        }
    }
    if (out.size() == 1) {
        out.push_back(out.front());
        if (out.back().x + 1 <= plot.right())
            out.back().x += 1;
        else
            out.front().x -= 1;
    }
    return out;
}

struct Span {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void take(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool empty() const { return lo > hi; }
};

ValueScale scaleFor(const HistoryRows& rows, const QuantityRow& q, const ChartFrame& frame,
                    bool& anyValue) {
    Span values, withLimits;
    for (const HistoryRow& row : rows) {
        if (!inFrame(row, frame)) continue;
        for (Channel c : kAllChannels) {
            const SeriesStats& s = StatsOf(row, q.quantity, c);
            if (!s.mean) continue;
            values.take(s.min.value_or(*s.mean));
            values.take(s.max.value_or(*s.mean));
            values.take(*s.mean);
        }
        if (q.hasLimit)
            for (Channel c : kAllChannels)
                if (row.limitC[c] >= q.limitLow && row.limitC[c] <= q.limitHigh)
                    withLimits.take(row.limitC[c]);
    }
    anyValue = !values.empty();
    Span all = values;
    if (!withLimits.empty()) {
        all.take(withLimits.lo);
        all.take(withLimits.hi);
    }
    double lo = all.empty() ? q.emptyLow : all.lo - q.margin;
    double hi = all.empty() ? q.emptyHigh : all.hi + q.margin;
    if (q.fromZero) lo = std::min(0.0, lo);
    const int maxSteps = std::max(2, static_cast<int>(frame.plot.height() / kValueTickSpacingPx));
    ValueScale scale = NiceScale(lo, hi, maxSteps, q.minStep);
    if (q.fromZero && scale.low < 0 && (all.empty() || all.lo >= 0)) scale.low = 0;
    return scale;
}

QPolygonF limitLine(const HistoryRows& rows, const ValueScale& scale, const ChartFrame& frame,
                    Channel channel, bool& clamped) {
    QPolygonF line;
    const QRectF& plot = frame.plot;
    auto y = [&](int32_t limit) {
        const double at = ValueToY(scale, plot, limit);
        const double kept = std::clamp(at, plot.top(), plot.bottom());
        if (kept != at) clamped = true;
        return kept;
    };
    std::optional<int32_t> last;
    for (const HistoryRow& row : rows) {
        if (!inFrame(row, frame)) continue;
        const int32_t limit = row.limitC[channel];
        if (!last) {
            line << QPointF(plot.left(), y(limit));
        } else if (limit != *last) {
            const double x = clampX(frame, TimeToX(frame, row.utcSeconds));
            line << QPointF(x, y(*last)) << QPointF(x, y(limit));
        }
        last = limit;
    }
    if (last) line << QPointF(plot.right(), y(*last));
    return line;
}

}  // namespace

const RangeRow& RangeOf(Range range) {
    for (const RangeRow& r : kRanges)
        if (r.range == range) return r;
    return kRanges.front();
}

const QuantityRow& QuantityOf(Quantity quantity) {
    for (const QuantityRow& q : kQuantities)
        if (q.quantity == quantity) return q;
    return kQuantities.front();
}

const SeriesStats& StatsOf(const HistoryRow& row, Quantity quantity, Channel channel) {
    return quantity == Quantity::Temperature ? row.temperatureC[channel] : row.fanRpm[channel];
}

double TimeToX(const ChartFrame& frame, double utcSeconds) {
    const double span = static_cast<double>(frame.toUtc - frame.fromUtc);
    if (span <= 0) return frame.plot.left();
    return frame.plot.left() +
           (utcSeconds - static_cast<double>(frame.fromUtc)) / span * frame.plot.width();
}

double XToTime(const ChartFrame& frame, double x) {
    if (frame.plot.width() <= 0) return static_cast<double>(frame.fromUtc);
    return static_cast<double>(frame.fromUtc) +
           (x - frame.plot.left()) / frame.plot.width() *
               static_cast<double>(frame.toUtc - frame.fromUtc);
}

double ValueToY(const ValueScale& scale, const QRectF& plot, double value) {
    const double span = scale.high - scale.low;
    if (span <= 0) return plot.bottom();
    return plot.bottom() - (value - scale.low) / span * plot.height();
}

bool Joined(const HistoryRow& earlier, const HistoryRow& later) {
    const int64_t missing = later.utcSeconds - (earlier.utcSeconds + earlier.spanSeconds);
    return missing <= earlier.spanSeconds;
}

double RowMiddle(const HistoryRow& row) {
    return static_cast<double>(row.utcSeconds) + row.spanSeconds / 2.0;
}

ChartPicture LayOutChart(const HistoryRows& rows, Quantity quantity, const ChartFrame& frame) {
    const QuantityRow& q = QuantityOf(quantity);
    ChartPicture picture;
    picture.scale = scaleFor(rows, q, frame, picture.anyValue);
    const ValueScale& s = picture.scale;
    for (int i = 0; s.low + i * s.step <= s.high + s.step * 1e-6; ++i) {
        const double v = s.low + i * s.step;
        picture.valueTicks.push_back({ValueToY(s, frame.plot, v), ValueLabel(v)});
    }
    const int64_t step =
        TimeTickStep(frame.toUtc - frame.fromUtc, frame.plot.width(), kTimeTickSpacingPx);
    for (int64_t t : TimeTickInstants(frame.fromUtc, frame.toUtc, step, frame.utcOffsetSeconds))
        picture.timeTicks.push_back(
            {TimeToX(frame, static_cast<double>(t)), TimeLabel(t, step, frame.utcOffsetSeconds)});

    for (Channel c : kAllChannels) {
        SeriesPicture& series = picture.series[c];
        for (const std::vector<Point>& stretch : stretchesOf(rows, quantity, c, frame)) {
            const std::vector<Point> points = mergedByColumn(stretch, frame.plot);
            QPolygonF line, upper, lower;
            bool band = false;
            for (const Point& p : points) {
                line << QPointF(p.x, ValueToY(s, frame.plot, p.mean));
                upper << QPointF(p.x, ValueToY(s, frame.plot, p.max));
                lower.prepend(QPointF(p.x, ValueToY(s, frame.plot, p.min)));
                band = band || p.max > p.min;
            }
            series.lines.push_back(line);
            if (band) series.bands.push_back(upper + lower);
        }
        if (q.hasLimit) series.limit = limitLine(rows, s, frame, c, series.limitClamped);
    }
    return picture;
}

const HistoryRow* RowUnderPointer(const HistoryRows& rows, const ChartFrame& frame, double x) {
    if (x < frame.plot.left() || x > frame.plot.right() || rows.empty()) return nullptr;
    const double t = XToTime(frame, x);
    const double secondsPerPx =
        frame.plot.width() > 0 ? (frame.toUtc - frame.fromUtc) / frame.plot.width() : 0;
    const auto after = std::partition_point(rows.begin(), rows.end(), [t](const HistoryRow& r) {
        return static_cast<double>(r.utcSeconds) <= t;
    });
    const HistoryRow* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (auto it : {after - (after == rows.begin() ? 0 : 1), after}) {
        if (it == rows.end() || !inFrame(*it, frame)) continue;
        const double distance = std::fabs(RowMiddle(*it) - t);
        const double reach = std::max(it->spanSeconds / 2.0, kPointerReachPx * secondsPerPx);
        if (distance <= reach && distance < bestDistance) {
            best = &*it;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace kestrelon::chart
