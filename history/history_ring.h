// SPDX-License-Identifier: GPL-3.0-or-later
// The last hour in memory, one sample a second, keyed by the UTC second. A second with no sample
// is a gap. Kept compact (a few hundred KiB): rows are made only when asked for.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/sample.h"
#include "history/history_row.h"

namespace kestrelon {

inline constexpr int kRingSeconds = 3600;

class HistoryRing {
public:
    HistoryRing();

    // The sample of second `utc`; a later sample of the same second replaces it.
    void put(int64_t utc, const Sample& sample);
    // One row a second (span 1, lowest = mean = highest) for the seconds in [fromUtc, toUtc]
    // that had a sample and are still held, in time order.
    HistoryRows rows(int64_t fromUtc, int64_t toUtc) const;

private:
    struct Entry {
        int64_t utc = INT64_MIN;                       // INT64_MIN: never filled
        std::array<double, kChannels> temperatureC{};  // NaN: missing
        std::array<int32_t, kChannels> fanRpm{};       // -1: missing
        std::array<int16_t, kChannels> limitC{};
        FanMode fanMode = FanMode::Manual;
    };
    std::vector<Entry> entries_;
};

}  // namespace kestrelon
