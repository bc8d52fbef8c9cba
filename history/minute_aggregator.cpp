// SPDX-License-Identifier: GPL-3.0-or-later
// Gathering one minute's samples into a row.
#include "history/minute_aggregator.h"

#include <algorithm>

#include "history/utc_time.h"

namespace kestrelon {

void MinuteAggregator::Series::add(double v) {
    min = count == 0 ? v : std::min(min, v);
    max = count == 0 ? v : std::max(max, v);
    sum += v;
    ++count;
}

SeriesStats MinuteAggregator::Series::stats() const {
    if (count == 0) return {};
    // The mean of values all between min and max stays between them, rounding included.
    return {min, std::clamp(sum / count, min, max), max};
}

std::optional<HistoryRow> MinuteAggregator::add(int64_t utc, const Sample& sample) {
    std::optional<HistoryRow> ended;
    if (minute_ && *minute_ != minuteStart(utc)) ended = take();
    minute_ = minuteStart(utc);
    for (Channel ch : kAllChannels) {
        if (sample.temperatureC[ch]) temperature_[ch].add(*sample.temperatureC[ch]);
        if (sample.fanRpm[ch]) fan_[ch].add(*sample.fanRpm[ch]);
    }
    last_ = sample;
    return ended;
}

std::optional<HistoryRow> MinuteAggregator::peek() const {
    if (!minute_) return std::nullopt;
    HistoryRow row;
    row.utcSeconds = *minute_;
    row.spanSeconds = 60;
    for (Channel ch : kAllChannels) {
        row.temperatureC[ch] = temperature_[ch].stats();
        row.fanRpm[ch] = fan_[ch].stats();
    }
    row.limitC = last_.limitC;
    row.fanMode = last_.fanMode;
    return row;
}

std::optional<HistoryRow> MinuteAggregator::take() {
    std::optional<HistoryRow> row = peek();
    minute_.reset();
    temperature_ = {};
    fan_ = {};
    return row;
}

}  // namespace kestrelon
