// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the history: a second from the in-memory ring, or a minute from a day file with its
// lowest, mean and highest value per series. A missing value is nothing, never 0.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/channel.h"
#include "core/settings_model.h"

namespace kestrelon {

struct SeriesStats {
    std::optional<double> min, mean, max;  // all three present or all missing

    bool operator==(const SeriesStats&) const = default;
};

struct HistoryRow {
    int64_t utcSeconds = 0;  // the start of the second or minute
    int32_t spanSeconds = 1; // 1 for a ring sample, 60 for a file row
    PerChannel<SeriesStats> temperatureC;
    PerChannel<SeriesStats> fanRpm;
    PerChannel<int32_t> limitC;  // the limits in force
    FanMode fanMode = FanMode::Manual;

    bool operator==(const HistoryRow&) const = default;
};

// Rows in time order. Time with no row is a gap: the program did not run, no panel answered or
// the machine slept.
using HistoryRows = std::vector<HistoryRow>;

}  // namespace kestrelon
