// SPDX-License-Identifier: GPL-3.0-or-later
// The one-hour ring of samples.
#include "history/history_ring.h"

#include <algorithm>
#include <limits>

#include "history/utc_time.h"

namespace kestrelon {

namespace {

SeriesStats single(std::optional<double> value) {
    return value ? SeriesStats{value, value, value} : SeriesStats{};
}

}  // namespace

HistoryRing::HistoryRing() : entries_(kRingSeconds) {}

void HistoryRing::put(int64_t utc, const Sample& sample) {
    Entry& e = entries_[static_cast<std::size_t>(utc - floorDiv(utc, kRingSeconds) * kRingSeconds)];
    e.utc = utc;
    for (Channel ch : kAllChannels) {
        const std::size_t i = channelIndex(ch);
        e.temperatureC[i] =
            sample.temperatureC[ch].value_or(std::numeric_limits<double>::quiet_NaN());
        e.fanRpm[i] = sample.fanRpm[ch] && *sample.fanRpm[ch] >= 0 ? *sample.fanRpm[ch] : -1;
        e.limitC[i] =
            static_cast<int16_t>(std::clamp<int32_t>(sample.limitC[ch], INT16_MIN, INT16_MAX));
    }
    e.fanMode = sample.fanMode;
}

HistoryRows HistoryRing::rows(int64_t fromUtc, int64_t toUtc) const {
    HistoryRows out;
    // No more than the ring's length of seconds can be held.
    fromUtc = std::max(fromUtc, toUtc - kRingSeconds + 1);
    for (int64_t t = fromUtc; t <= toUtc; ++t) {
        const Entry& e =
            entries_[static_cast<std::size_t>(t - floorDiv(t, kRingSeconds) * kRingSeconds)];
        if (e.utc != t) continue;
        HistoryRow row;
        row.utcSeconds = t;
        row.spanSeconds = 1;
        for (Channel ch : kAllChannels) {
            const std::size_t i = channelIndex(ch);
            if (!std::isnan(e.temperatureC[i])) row.temperatureC[ch] = single(e.temperatureC[i]);
            if (e.fanRpm[i] >= 0) row.fanRpm[ch] = single(e.fanRpm[i]);
            row.limitC[ch] = e.limitC[i];
        }
        row.fanMode = e.fanMode;
        out.push_back(row);
    }
    return out;
}

}  // namespace kestrelon
