// SPDX-License-Identifier: GPL-3.0-or-later
// The values under the pointer as text.
#include "chart/pointer_readout.h"

#include <cmath>

#include "chart/chart_layout.h"
#include "chart/chart_scale.h"

namespace kestrelon::chart {

namespace {

constexpr const char* kMissing = "\u2014";  // an em dash
constexpr const char* kBetween = "\u2013";  // an en dash

// Fan speeds are whole numbers however they were averaged.
std::string number(double value, bool whole) {
    return ValueLabel(whole ? std::round(value) : value);
}

std::string statsText(const SeriesStats& s, std::string_view unit, bool whole) {
    if (!s.mean) return kMissing;
    std::string text = number(*s.mean, whole) + " " + std::string(unit);
    if (s.min && s.max && *s.max > *s.min)
        text += " (" + number(*s.min, whole) + kBetween + number(*s.max, whole) + ")";
    return text;
}

}  // namespace

PointerReadout ReadoutOf(const HistoryRow& row, int utcOffsetSeconds) {
    PointerReadout out;
    out.time = PointerTimeLabel(row.utcSeconds, row.spanSeconds < 60, utcOffsetSeconds);
    for (Channel c : kAllChannels) {
        out.temperature[c] =
            statsText(row.temperatureC[c], QuantityOf(Quantity::Temperature).unit, false);
        out.fan[c] = statsText(row.fanRpm[c], QuantityOf(Quantity::FanSpeed).unit, true);
    }
    return out;
}

}  // namespace kestrelon::chart
