// SPDX-License-Identifier: GPL-3.0-or-later
// The samples of one UTC minute made into one row: per series the lowest, mean and highest of the
// values present (a series with none is missing), with the limits and fan mode of the last
// sample. A minute with no sample gives no row.
#pragma once

#include <cstdint>
#include <optional>

#include "core/sample.h"
#include "history/history_row.h"

namespace kestrelon {

class MinuteAggregator {
public:
    // Adds the sample of second `utc` to the minute holding it. A sample of another minute than
    // the one being gathered first ends that one: its row is returned.
    std::optional<HistoryRow> add(int64_t utc, const Sample& sample);
    // Ends the minute being gathered: its row, or nothing when no sample came.
    std::optional<HistoryRow> take();
    // The row of the minute being gathered so far, without ending it.
    std::optional<HistoryRow> peek() const;

private:
    struct Series {
        int count = 0;
        double sum = 0, min = 0, max = 0;
        void add(double v);
        SeriesStats stats() const;
    };
    std::optional<int64_t> minute_;
    PerChannel<Series> temperature_, fan_;
    Sample last_;
};

}  // namespace kestrelon
