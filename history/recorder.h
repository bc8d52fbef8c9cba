// SPDX-License-Identifier: GPL-3.0-or-later
// The history's recording: each poll's sample goes into the one-hour ring and into the minute
// being gathered; each ended minute is appended to its day file. Time with no sample (no panel,
// asleep, not running) is a gap. Asked for a range, it answers from the ring within the last
// hour and from the files otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "core/sample.h"
#include "history/day_files.h"
#include "history/history_ring.h"
#include "history/minute_aggregator.h"

namespace kestrelon {

// The time in whole UTC seconds since 1970-01-01. Injected, so that tests move it at will.
class UtcClock {
public:
    virtual ~UtcClock() = default;
    virtual int64_t utcSeconds() const = 0;
};

class SystemUtcClock final : public UtcClock {
public:
    int64_t utcSeconds() const override;
};

struct RecorderConfig {
    std::string directory;  // where the day files go
    int keepDays = 90;      // day files older than this are removed
};

class Recorder {
public:
    // Removes the day files past keeping; the ring holds what is recorded from now on.
    Recorder(RecorderConfig config, const UtcClock& clock);

    // One poll's sample at second `utc`. A sample without a panel is a gap. A poll a little late
    // (its timer counts from the end of the exchange before) leaves no hole in the ring: when
    // the second before has no sample but the one before that has, the sample stands for both.
    void record(const Sample& sample, int64_t utc);
    // A gap (the panel lost, the machine asleep): a minute that has ended by `utc` is written,
    // and the next sample bridges no hole.
    void markGap(int64_t utc);
    // The program ends: the minute so far is written.
    void finish();

    // The rows of [fromUtc, toUtc] in time order: one a second from the ring when the range lies
    // within the last hour (minute rows from the files for the part before the ring began),
    // otherwise one a minute from the files and the minute being gathered. Gaps have no rows.
    HistoryRows range(int64_t fromUtc, int64_t toUtc) const;

    const DayFileStore& store() const { return store_; }

private:
    void newDay(int64_t utc);
    void write(const std::optional<HistoryRow>& row);
    // Writes the minute so far now; the rest of it is not gathered.
    void close();

    const UtcClock& clock_;
    DayFileStore store_;
    HistoryRing ring_;
    MinuteAggregator minute_;
    int64_t ringSince_;                 // the first second the ring has watched
    int64_t day_;                       // the day whose change removes old files
    int64_t lastSecond_ = INT64_MIN;    // the ring's latest sample
    int64_t closedMinute_ = INT64_MIN;  // written early by finish()
};

}  // namespace kestrelon
